// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/document/ImageDocument.h"
#include "ui/video/CVideoWnd.h"

// A picture and the (hidden) window that shows it.
struct PictureView {
    PictureView(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow)
        : doc(settings, prompts, mainWindow)
        , wnd(doc)
    {
    }
    ImageDocument doc;
    CVideoWnd wnd;
};
