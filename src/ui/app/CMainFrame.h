// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>

#include "core/base/AppMessageSink.h"
#include "core/base/CommandTarget.h"
#include "ui/favorites/CFavoritesBar.h"
#include "ui/histogram/CHistogramWnd.h"
#include "ui/video/CImagePane.h"

class CHelpBar;
class CMeasurementsBar;
class Measurements;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class SettingsStore;
class UserPrompts;

// The one top-level window: menus, toolbar, status bar, the image pane and
// the docking bars. It routes every command (image pane first, then itself)
// and is the hub of the application messages.
class CMainFrame : public QMainWindow, public AppMessageSink, public CommandTarget {
    Q_OBJECT

public:
    CMainFrame(SettingsStore& settings, UserPrompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override;

    // Offers the command along the route; false when nobody handles it.
    bool dispatch(int id);
    // Puts a component into the route after the image pane and before the
    // frame's own handlers.
    void addCommandTarget(CommandTarget* target);
    // Something a command's state depends on changed: one refresh of every
    // action follows on the next turn of the event loop, however many
    // changes come before it.
    void commandStatesChanged();

    QAction* action(int id) const { return commandActions.value(id); }
    CImagePane& imagePane() { return pane; }
    // The profile along an image row (horizontal) or down a column.
    CHistogramWnd& histogram(bool horizontal) { return horizontal ? horizontalHistogram : verticalHistogram; }
    CFavoritesBar* favoritesBar() const { return favorites; }
    CHelpBar* helpBar() const { return help; }
    CMeasurementsBar* measurementsBar() const { return measurementsView; }
    Measurements& measurementResults() { return *measurements; }
    QLabel* statusPane(int id) const;

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createDockingBars();
    // The results table, its file and its bar.
    void createMeasurements();
    // Brings the enabled and checked state of every action up to date.
    void updateCommandUI();
    // Commands follow whether `bar` is shown or hidden, by any means.
    void watchVisibility(QWidget& bar);
    QMenu* addPopup(QMenu* parent, const QString& title, const QList<int>& ids);
    void setStatusValue(int paneId, const char* format, int value);
    // The histogram that suits the current tool; none without a tool.
    CHistogramWnd* histogramOfTool();

    SettingsStore& settings;
    UserPrompts& prompts;
    CImagePane pane;
    // Children of the pane, destroyed before it.
    CHistogramWnd verticalHistogram;
    CHistogramWnd horizontalHistogram;
    QToolBar* toolBar = nullptr;
    CFavoritesBar* favorites = nullptr;
    CHelpBar* help = nullptr;
    Measurements* measurements = nullptr;
    CMeasurementsBar* measurementsView = nullptr;
    QHash<int, QAction*> commandActions;
    QHash<int, QLabel*> statusPanes;
    QList<CommandTarget*> route;
    bool commandUIPending = false;
};
