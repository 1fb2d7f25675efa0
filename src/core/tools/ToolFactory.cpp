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
