// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QWidget>

#include "ui/widgets/CColorSwatch.h"

class CTool;
class QCheckBox;
class QComboBox;

// The label's look as the option dialogs edit it: the colour groups across
// the top ("Text Highlite", "Text Color", "Text Shadow" and, for the
// measuring tools, "Tool Color") and the "Text Font" group below them.
class CTextStyleGroups : public QWidget {
    Q_OBJECT

public:
    // The text annotation always draws its text and has no lines: it shows
    // neither the text's "Enable" box nor the "Tool Color" group.
    enum Variant { MeasuringTool, TextAnnotation };

    // The swatches pick their colours with `pickColor`.
    CTextStyleGroups(Variant variant, const CColorSwatch::Picker& pickColor, QWidget* parent = nullptr);

    void load(const CTool& tool);
    // Font, colours and textStyle rebuilt from the check boxes; the tool
    // colour too unless this is the text annotation.
    void store(CTool& tool) const;

private:
    Variant variant;
    QCheckBox* highlightOn;
    QCheckBox* textOn = nullptr;
    QCheckBox* shadowOn;
    CColorSwatch* highlightColor;
    CColorSwatch* textColor;
    CColorSwatch* shadowColor;
    CColorSwatch* toolColor = nullptr;
    QComboBox* face;
    QComboBox* size;
    QCheckBox* bold;
    QCheckBox* italic;
    QCheckBox* underline;
};
