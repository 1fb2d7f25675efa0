// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

// Ids of the status bar panes that show values, by which they are found.
enum StatusPaneId : int {
    ID_INDICATOR_X = 59142,
    ID_INDICATOR_Y = 59143,
    ID_INDICATOR_MAG = 59144,
    ID_INDICATOR_LUMA = 59146,
    ID_INDICATOR_ZOOM = 59147,
};
