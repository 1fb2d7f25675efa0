// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QAbstractScrollArea>

#include "core/base/CommandTarget.h"
#include "core/document/ImageDocument.h"
#include "ui/video/CVideoWnd.h"

class AppMessageSink;
class SettingsStore;
class UserPrompts;

// The frame's client area: a hatched background with the Video Window
// centred on it. A Video Window larger than the pane overhangs it on both
// sides, and the pane then scrolls so that every pixel can be reached; the
// scroll bars start at the centre, which is the centred placement.
class CImagePane : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT

public:
    CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent = nullptr);

    ImageDocument& imageDocument() { return document; }
    const ImageDocument& imageDocument() const { return document; }
    CVideoWnd& videoWnd() { return video; }
    const CVideoWnd& videoWnd() const { return video; }

    // Loads a picture and, when it opened, names it in the caption. Returns
    // the result of the caption message, 0 when the file did not open.
    qintptr OpenImage(const QString& path);
    // Centres the Video Window (and the scroll bars).
    void recentre();

    // The filter of the Open dialog.
    static QString openFilter();

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeVideoWindow();
    void printCommand();

    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    // The picture; destroyed after the window that shows it.
    ImageDocument document;
    CVideoWnd video;
};
