// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/FavoriteDelegate.h"

#include <QPainter>

#include "ui/favorites/CFavoritesList.h"

FavoriteDelegate::FavoriteDelegate(const CFavoritesList& list, QObject* parent)
    : QStyledItemDelegate(parent)
    , list(list)
{
}

void FavoriteDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const FavoriteItem* item = list.record(index.row());
    if (!item)
        return;
    painter->save();
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    const int w = item->thumbnail.isNull() ? 0 : item->thumbnail.width();
    if (w > 0)
        painter->drawImage(QPoint(rect.left() + 10, rect.top() + 10), item->thumbnail);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    QRect text = rect;
    text.setLeft(rect.left() + w + 20);
    text.setTop(rect.top() + 10);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, item->name);
    text.setTop(text.top() + 20);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, item->dateText);
    text.setTop(text.top() + 20);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, item->description);
    painter->restore();
}

QSize FavoriteDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return { option.rect.width(), CFavoritesList::ItemHeight };
}
