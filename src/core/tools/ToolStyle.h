// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

class CArrowTool;
class CCircleTool;
class CReticuleTool;
class CScaleBarTool;
class CTextTool;
class CTool;
class SettingsStore;

// The tools' look and per-kind options in the "Tool" section of the
// settings, shared by every kind: a new tool starts with the style last
// saved by any kind. Values are written only when an option dialog is
// confirmed, each dialog writing its own values in a fixed order.
class ToolStyle {
public:
    // ToolColor, TextColor, TextHighlite, TextShadow, TextStyle, FontFace,
    // FontSize, read in this order when any tool is made.
    static void readShared(const SettingsStore& settings, CTool& tool);
    static void readCircle(const SettingsStore& settings, CCircleTool& tool);
    static void readReticule(const SettingsStore& settings, CReticuleTool& tool);
    static void readArrow(const SettingsStore& settings, CArrowTool& tool);
    // ScaleBarLength (0, or anything but a positive number, for Automatic)
    // and ScaleBarThickness (1 to 50, else the default 6).
    static void readScaleBar(const SettingsStore& settings, CScaleBarTool& tool);

    // Tool Options (the measuring and calibration tools).
    static void writeToolOptions(SettingsStore& settings, const CTool& tool);
    static void writeCircleOptions(SettingsStore& settings, const CCircleTool& tool);
    static void writeReticuleOptions(SettingsStore& settings, const CReticuleTool& tool);
    static void writeTextOptions(SettingsStore& settings, const CTextTool& tool);
    static void writeArrowOptions(SettingsStore& settings, const CArrowTool& tool);
    // The Tool Options values, then ScaleBarLength and ScaleBarThickness.
    static void writeScaleBarOptions(SettingsStore& settings, const CScaleBarTool& tool);
};
