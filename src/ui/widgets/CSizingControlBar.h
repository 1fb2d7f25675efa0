// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDockWidget>
#include <QSize>

class QMainWindow;

// A resizable bar that docks on any side of the main frame or floats. It
// never gets smaller than 16 x 32 and starts at the size given at creation;
// its close button hides it. Sizes are not carried between runs.
class CSizingControlBar : public QDockWidget {
    Q_OBJECT

public:
    // The smallest size in any state, docked or floating.
    static QSize minimumBarSize() { return { 16, 32 }; }

    CSizingControlBar(const QString& caption, QSize defaultSize, QWidget* parent = nullptr);

    QSize defaultSize() const { return initialSize; }

    // Docks the bar on `area` of `frame` at its default size: the width for
    // the left and right sides, the height for the top and bottom.
    void dockInto(QMainWindow& frame, Qt::DockWidgetArea area);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;

private:
    // The hosted window may shrink with the bar down to the bar's minimum.
    void relaxContents();
    void onTopLevelChanged(bool floating);

    QSize initialSize;
    // The first time the bar floats it takes its default size.
    bool floatedBefore = false;
};
