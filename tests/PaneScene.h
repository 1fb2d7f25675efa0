// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "ScriptedPrompts.h"
#include "core/base/SettingsStore.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/video/CImagePane.h"

// An image pane over `Sink` (the main window as the pane sees it) showing
// `picture` inside `border`, with a placed black Line from (10, 10) to
// (50, 10) when asked.
template <typename Sink> struct PaneScene {
    PaneScene(const QString& ini, const QImage& picture, int border, bool withLine = false)
        : settings(ini)
        , pane(settings, prompts, sink)
    {
        doc().AllocateFrameBuffer(picture.width(), picture.height());
        doc().FrameBuffer.image() = picture;
        doc().SetBorderWidth(border);
        if (withLine) {
            doc().SetActiveTool(ToolFactory::create(KindLine, settings, sink));
            doc().activeTool()->Press(QPoint(10, 10));
            doc().activeTool()->Drag(QPoint(50, 10), false);
            doc().activeTool()->Release();
        }
    }
    ImageDocument& doc() { return pane.imageDocument(); }
    SettingsStore settings;
    ScriptedPrompts prompts;
    Sink sink;
    CImagePane pane;
};
