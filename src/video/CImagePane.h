// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QAbstractScrollArea>

#include "app/CommandTarget.h"
#include "video/CVideoWnd.h"

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
    CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow,
               QWidget* parent = nullptr);

    CVideoWnd& videoWnd() { return video; }
    const CVideoWnd& videoWnd() const { return video; }

    // Loads a picture and, when it opened, names it in the caption. Returns
    // the result of the caption message, 0 when the file did not open.
    qintptr OpenImage(const QString& path);
    // Centres the Video Window (and the scroll bars).
    void recentre();

    // The filter of the Open dialog.
    static QString openFilter();
    // The filter of the Save As dialog, JPEG first.
    static QString saveFilter();

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeVideoWindow();
    void saveCommand();
    void addFavoriteCommand();
    void printCommand();
    // Runs a save or print with the camera frozen, live again afterwards if it was.
    void whileFrozen(const std::function<void()>& output);

    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    CVideoWnd video;
};
