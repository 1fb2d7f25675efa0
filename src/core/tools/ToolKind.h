// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

// A tool's kind is the id of the command that creates it. The code compares
// kinds as numbers: kinds at or below KindCalibrateVertical are the calibration
// tools, kinds at or below KindVertical have a brightness profile.
enum ToolKind : int {
    KindCalibrate = 32771,
    KindCalibrateVertical = 32773,
    KindHorizontal = 32774,
    KindVertical = 32775,
    KindLine = 32781,
    KindRectangle = 32782,
    KindCircle = 32783,
    KindAngle = 32784,
    KindPolygon = 32785,
    KindReticule = 32795,
    // Between the annotations: not a calibration, no profile.
    KindScaleBar = 32797,
    KindText = 32798,
    KindArrow = 32799,
};
