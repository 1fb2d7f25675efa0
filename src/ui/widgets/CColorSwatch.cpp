// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/widgets/CColorSwatch.h"

#include <QColorDialog>
#include <QGroupBox>
#include <QPainter>
#include <QVBoxLayout>

#include "core/video/GdiPainter.h"

QColor CColorSwatch::colorDialog(const QColor& initial)
{
    // No owner: the colour dialog stands on its own over the option dialog.
    return QColorDialog::getColor(initial, nullptr);
}

CColorSwatch::CColorSwatch(Picker picker, QWidget* parent)
    : QPushButton(parent)
    , picker(std::move(picker))
{
    setMinimumSize(48, 24);
    connect(this, &QPushButton::clicked, this, &CColorSwatch::pick);
}

void CColorSwatch::setColorRef(quint32 colorRef)
{
    value = colorRef;
    update();
}

quint32 CColorSwatch::toColorRef(const QColor& color)
{
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    // The face is the colour alone: pressed or focused looks the same.
    QPainter painter(this);
    painter.fillRect(rect(), GdiPainter::fromColorRef(value));
}

void CColorSwatch::pick()
{
    const QColor chosen = picker(GdiPainter::fromColorRef(value));
    if (chosen.isValid())
        setColorRef(toColorRef(chosen));
}

QGroupBox* CColorSwatch::inGroup(const QString& title)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(this);
    layout->addStretch();
    return group;
}
