// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/ToolStyle.h"

#include <cmath>

#include <QString>

#include "core/base/SettingsStore.h"
#include "core/tools/CArrowTool.h"
#include "core/tools/CCircleTool.h"
#include "core/tools/CReticuleTool.h"
#include "core/tools/CScaleBarTool.h"
#include "core/tools/CTextTool.h"

namespace {

const QString section = QStringLiteral("Tool");

// A hand-edited reticule beyond this would overflow the axis length and
// make every repaint draw millions of ticks.
constexpr int reticuleLimit = 1000;

int read(const SettingsStore& settings, const char* entry, int defaultValue)
{
    return settings.readInt(section, QString::fromLatin1(entry), defaultValue);
}

void write(SettingsStore& settings, const char* entry, int value)
{
    settings.writeInt(section, QString::fromLatin1(entry), value);
}

// An index outside its table reads as the first entry.
int readIndex(const SettingsStore& settings, const char* entry, int count)
{
    const int index = read(settings, entry, 0);
    return index >= 0 && index < count ? index : 0;
}

void writeTextStyle(SettingsStore& settings, const CTool& tool)
{
    write(settings, "TextColor", int(tool.textColor));
    write(settings, "TextHighlite", int(tool.textHighlite));
    write(settings, "TextShadow", int(tool.textShadow));
    write(settings, "TextStyle", tool.textStyle);
    write(settings, "FontFace", tool.fontFace);
    write(settings, "FontSize", tool.fontSize);
}

} // namespace

void ToolStyle::readShared(const SettingsStore& settings, CTool& tool)
{
    tool.toolColor = quint32(read(settings, "ToolColor", 0));
    tool.textColor = quint32(read(settings, "TextColor", 0x00C0C0C0));
    tool.textHighlite = quint32(read(settings, "TextHighlite", 0x00FFFFFF));
    tool.textShadow = quint32(read(settings, "TextShadow", 0));
    tool.textStyle = read(settings, "TextStyle", 7);
    tool.fontFace = readIndex(settings, "FontFace", 3);
    tool.fontSize = readIndex(settings, "FontSize", 8);
}

void ToolStyle::readCircle(const SettingsStore& settings, CCircleTool& tool)
{
    tool.circleDisplay = read(settings, "CircleDisplay", 0);
}

void ToolStyle::readReticule(const SettingsStore& settings, CReticuleTool& tool)
{
    tool.horizontalAxis = read(settings, "ReticuleHorizontal", 1) != 0;
    tool.verticalAxis = read(settings, "ReticuleVertical", 1) != 0;
    tool.spacing = qBound(-reticuleLimit, read(settings, "ReticuleSpacing", 2), reticuleLimit);
    tool.count = qBound(-reticuleLimit, read(settings, "ReticuleCount", 100), reticuleLimit);
}

void ToolStyle::readArrow(const SettingsStore& settings, CArrowTool& tool)
{
    tool.direction = read(settings, "ArrowDirection", 2);
}

void ToolStyle::readScaleBar(const SettingsStore& settings, CScaleBarTool& tool)
{
    const double length = settings.readReal(section, QStringLiteral("ScaleBarLength"), 0.0);
    tool.length = length > 0.0 && std::isfinite(length) ? length : 0.0;
    const int thickness = read(settings, "ScaleBarThickness", CScaleBarTool::DefaultThickness);
    tool.thickness = thickness >= CScaleBarTool::MinThickness && thickness <= CScaleBarTool::MaxThickness
        ? thickness
        : CScaleBarTool::DefaultThickness;
}

void ToolStyle::writeToolOptions(SettingsStore& settings, const CTool& tool)
{
    write(settings, "ToolColor", int(tool.toolColor));
    writeTextStyle(settings, tool);
}

void ToolStyle::writeCircleOptions(SettingsStore& settings, const CCircleTool& tool)
{
    write(settings, "CircleDisplay", tool.circleDisplay);
    writeToolOptions(settings, tool);
}

void ToolStyle::writeReticuleOptions(SettingsStore& settings, const CReticuleTool& tool)
{
    write(settings, "ToolColor", int(tool.toolColor));
    write(settings, "ReticuleHorizontal", tool.horizontalAxis ? 1 : 0);
    write(settings, "ReticuleVertical", tool.verticalAxis ? 1 : 0);
    write(settings, "ReticuleSpacing", tool.spacing);
    write(settings, "ReticuleCount", tool.count);
}

void ToolStyle::writeTextOptions(SettingsStore& settings, const CTextTool& tool)
{
    writeTextStyle(settings, tool);
}

void ToolStyle::writeArrowOptions(SettingsStore& settings, const CArrowTool& tool)
{
    write(settings, "ToolColor", int(tool.toolColor));
    write(settings, "ArrowDirection", tool.direction);
}

void ToolStyle::writeScaleBarOptions(SettingsStore& settings, const CScaleBarTool& tool)
{
    writeToolOptions(settings, tool);
    settings.writeReal(section, QStringLiteral("ScaleBarLength"), tool.length);
    write(settings, "ScaleBarThickness", tool.thickness);
}
