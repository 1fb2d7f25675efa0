// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

// The program's own messages between components that do not know each other.
// The values are fixed: tools, panes and tests compare them.
enum AppMessage : unsigned {
    WM_APP_SET_XY = 0x8001,
    WM_APP_SET_MAG = 0x8002,
    WM_APP_SET_LUMA = 0x8003,
    WM_APP_SET_TITLE = 0x8004,
    WM_APP_GET_LUMA = 0x8005,
    WM_APP_OPEN_IMAGE = 0x8006,
    WM_APP_FAVORITE_ADDED = 0x800A,
    WM_APP_GET_FAVORITES_FOLDER = 0x800B,
    WM_APP_SHOW_HISTOGRAM = 0x801E,
    WM_APP_SET_HISTOGRAM_MARK = 0x801F,
    WM_APP_UPDATE_HISTOGRAM = 0x8020,
    WM_APP_GET_HISTOGRAM_DATA = 0x8021,
};
