// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CTextStyleGroups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/tools/CTool.h"
#include "ui/widgets/CColorSwatch.h"

namespace {

// A colour group: an optional "Enable" box above the swatch.
QGroupBox* colorGroup(const QString& title, QCheckBox* enable, CColorSwatch* swatch)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    if (enable)
        layout->addWidget(enable);
    layout->addWidget(swatch);
    layout->addStretch();
    return group;
}

} // namespace

CTextStyleGroups::CTextStyleGroups(Variant variant, const CColorSwatch::Picker& pickColor, QWidget* parent)
    : QWidget(parent)
    , variant(variant)
    , highlightOn(new QCheckBox(QStringLiteral("Enable")))
    , shadowOn(new QCheckBox(QStringLiteral("Enable")))
    , highlightColor(new CColorSwatch(pickColor))
    , textColor(new CColorSwatch(pickColor))
    , shadowColor(new CColorSwatch(pickColor))
    , face(new QComboBox)
    , size(new QComboBox)
    , bold(new QCheckBox(QStringLiteral("Bold")))
    , italic(new QCheckBox(QStringLiteral("Italic")))
    , underline(new QCheckBox(QStringLiteral("Underline")))
{
    if (variant == MeasuringTool) {
        textOn = new QCheckBox(QStringLiteral("Enable"));
        toolColor = new CColorSwatch(pickColor);
    }

    auto* colors = new QHBoxLayout;
    colors->addWidget(colorGroup(QStringLiteral("Text Highlite"), highlightOn, highlightColor));
    colors->addWidget(colorGroup(QStringLiteral("Text Color"), textOn, textColor));
    colors->addWidget(colorGroup(QStringLiteral("Text Shadow"), shadowOn, shadowColor));
    if (toolColor)
        colors->addWidget(colorGroup(QStringLiteral("Tool Color"), nullptr, toolColor));

    // Bound by position: the index is what the tool stores.
    face->addItems({ QStringLiteral("Arial"), QStringLiteral("Times"), QStringLiteral("Comic") });
    size->addItems({ QStringLiteral("14 pt"), QStringLiteral("16 pt"), QStringLiteral("18 pt"), QStringLiteral("20 pt"),
        QStringLiteral("22 pt"), QStringLiteral("24 pt"), QStringLiteral("26 pt"), QStringLiteral("28 pt") });
    auto* font = new QGroupBox(QStringLiteral("Text Font"));
    auto* fontLayout = new QHBoxLayout(font);
    for (QWidget* control : std::initializer_list<QWidget*> { face, size, bold, italic, underline })
        fontLayout->addWidget(control);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(colors);
    layout->addWidget(font);
}

void CTextStyleGroups::load(const CTool& tool)
{
    face->setCurrentIndex(tool.fontFace);
    size->setCurrentIndex(tool.fontSize);
    highlightOn->setChecked(tool.textStyle & CTool::HighlightPass);
    shadowOn->setChecked(tool.textStyle & CTool::ShadowPass);
    if (textOn)
        textOn->setChecked(tool.textStyle & CTool::TextPass);
    bold->setChecked(tool.textStyle & CTool::Bold);
    italic->setChecked(tool.textStyle & CTool::Italic);
    underline->setChecked(tool.textStyle & CTool::Underline);
    highlightColor->setColorRef(tool.textHighlite);
    textColor->setColorRef(tool.textColor);
    shadowColor->setColorRef(tool.textShadow);
    if (toolColor)
        toolColor->setColorRef(tool.toolColor);
}

void CTextStyleGroups::store(CTool& tool) const
{
    tool.fontFace = face->currentIndex();
    tool.fontSize = size->currentIndex();
    tool.textColor = textColor->colorRef();
    tool.textHighlite = highlightColor->colorRef();
    tool.textShadow = shadowColor->colorRef();
    if (toolColor)
        tool.toolColor = toolColor->colorRef();

    // Rebuilt from nothing: bits without a box are dropped.
    int style = variant == TextAnnotation ? CTool::TextPass : 0;
    const std::pair<const QCheckBox*, int> bits[] = {
        { textOn, CTool::TextPass },
        { highlightOn, CTool::HighlightPass },
        { shadowOn, CTool::ShadowPass },
        { bold, CTool::Bold },
        { italic, CTool::Italic },
        { underline, CTool::Underline },
    };
    for (const auto& [box, bit] : bits) {
        if (box && box->isChecked())
            style |= bit;
    }
    tool.textStyle = style;
}
