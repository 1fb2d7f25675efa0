// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/widgets/CSizingControlBar.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>

CSizingControlBar::CSizingControlBar(const QString& caption, QSize defaultSize, QWidget* parent)
    : QDockWidget(caption, parent)
    , initialSize(defaultSize.expandedTo(minimumBarSize()))
{
    setMinimumSize(minimumBarSize());
    // Qt's own layout of the bar would raise the minimum to fit the contents.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    connect(this, &QDockWidget::topLevelChanged, this, &CSizingControlBar::onTopLevelChanged);
}

void CSizingControlBar::dockInto(QMainWindow& frame, Qt::DockWidgetArea area)
{
    frame.addDockWidget(area, this);
    const bool sideways = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    frame.resizeDocks(
        { this }, { sideways ? initialSize.width() : initialSize.height() }, sideways ? Qt::Horizontal : Qt::Vertical);
}

QSize CSizingControlBar::sizeHint() const
{
    return initialSize;
}

QSize CSizingControlBar::minimumSizeHint() const
{
    return minimumBarSize();
}

bool CSizingControlBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Polish:
    case QEvent::Show:
    case QEvent::LayoutRequest:
        relaxContents();
        break;
    default:
        break;
    }
    return QDockWidget::event(event);
}

void CSizingControlBar::relaxContents()
{
    // Qt's dock area sizes a bar from its contents' minimum; the bar's own
    // minimum is the one that counts.
    if (QWidget* contents = widget(); contents && contents->minimumSize() != QSize(1, 1))
        contents->setMinimumSize(1, 1);
}

void CSizingControlBar::onTopLevelChanged(bool floating)
{
    if (!floating || floatedBefore)
        return;
    floatedBefore = true;
    resize(initialSize);
}
