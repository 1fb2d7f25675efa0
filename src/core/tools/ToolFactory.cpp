// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/ToolFactory.h"

#include "core/tools/CAngleTool.h"
#include "core/tools/CArrowTool.h"
#include "core/tools/CCalibrateTool.h"
#include "core/tools/CCalibrateVerticalTool.h"
#include "core/tools/CCircleTool.h"
#include "core/tools/CPolygonTool.h"
#include "core/tools/CRectangleTool.h"
#include "core/tools/CReticuleTool.h"
#include "core/tools/CScaleBarTool.h"
#include "core/tools/CTextTool.h"
#include "core/tools/ToolKind.h"

namespace {

template <class Tool> std::unique_ptr<CTool> copyAs(const CTool& tool)
{
    return std::make_unique<Tool>(static_cast<const Tool&>(tool));
}

} // namespace

std::unique_ptr<CTool> ToolFactory::create(int kind, const SettingsStore& settings, AppMessageSink& mainWindow)
{
    switch (kind) {
    case KindCalibrate:
        return std::make_unique<CCalibrateTool>(settings, mainWindow);
    case KindCalibrateVertical:
        return std::make_unique<CCalibrateVerticalTool>(settings, mainWindow);
    case KindHorizontal:
        return std::make_unique<CHorizontalTool>(settings, mainWindow);
    case KindVertical:
        return std::make_unique<CVerticalTool>(settings, mainWindow);
    case KindLine:
        return std::make_unique<CLineTool>(settings, mainWindow);
    case KindRectangle:
        return std::make_unique<CRectangleTool>(settings, mainWindow);
    case KindCircle:
        return std::make_unique<CCircleTool>(settings, mainWindow);
    case KindAngle:
        return std::make_unique<CAngleTool>(settings, mainWindow);
    case KindPolygon:
        return std::make_unique<CPolygonTool>(settings, mainWindow);
    case KindReticule:
        return std::make_unique<CReticuleTool>(settings, mainWindow);
    case KindText:
        return std::make_unique<CTextTool>(settings, mainWindow);
    case KindArrow:
        return std::make_unique<CArrowTool>(settings, mainWindow);
    case KindScaleBar:
        return std::make_unique<CScaleBarTool>(settings, mainWindow);
    default:
        return nullptr;
    }
}

std::unique_ptr<CTool> ToolFactory::copy(const CTool& tool)
{
    // The kind names the class, as in create().
    switch (tool.kind) {
    case KindCalibrate:
        return copyAs<CCalibrateTool>(tool);
    case KindCalibrateVertical:
        return copyAs<CCalibrateVerticalTool>(tool);
    case KindHorizontal:
        return copyAs<CHorizontalTool>(tool);
    case KindVertical:
        return copyAs<CVerticalTool>(tool);
    case KindLine:
        return copyAs<CLineTool>(tool);
    case KindRectangle:
        return copyAs<CRectangleTool>(tool);
    case KindCircle:
        return copyAs<CCircleTool>(tool);
    case KindAngle:
        return copyAs<CAngleTool>(tool);
    case KindPolygon:
        return copyAs<CPolygonTool>(tool);
    case KindReticule:
        return copyAs<CReticuleTool>(tool);
    case KindText:
        return copyAs<CTextTool>(tool);
    case KindArrow:
        return copyAs<CArrowTool>(tool);
    case KindScaleBar:
        return copyAs<CScaleBarTool>(tool);
    default:
        return nullptr;
    }
}
