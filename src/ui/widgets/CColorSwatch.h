// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QColor>
#include <QPushButton>
#include <QtGlobal>

class QGroupBox;

// A push button whose whole face shows one colour. Pressing it lets the user
// pick a new colour, starting from the current one; a cancelled pick keeps it.
class CColorSwatch : public QPushButton {
    Q_OBJECT

public:
    // Asks the user for a colour starting from `initial`; an invalid colour
    // means the user cancelled. Tests answer without a window.
    using Picker = std::function<QColor(const QColor& initial)>;
    // The colour dialog.
    static QColor colorDialog(const QColor& initial);

    explicit CColorSwatch(Picker picker = colorDialog, QWidget* parent = nullptr);

    // 0x00BBGGRR, as the tools and the settings hold colours.
    quint32 colorRef() const { return value; }
    void setColorRef(quint32 colorRef);

    static quint32 toColorRef(const QColor& color);

    // A group box titled `title` holding just this swatch.
    QGroupBox* inGroup(const QString& title);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void pick();

    Picker picker;
    quint32 value = 0;
};
