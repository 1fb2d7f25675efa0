// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QStyledItemDelegate>

class CFavoritesList;

// Draws one favourite: its thumbnail 10 pixels in from the row's corner, and
// beside it the name, date and description 20 pixels apart, on the highlight
// colour when selected. No focus rectangle.
class FavoriteDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    FavoriteDelegate(const CFavoritesList& list, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const CFavoritesList& list;
};
