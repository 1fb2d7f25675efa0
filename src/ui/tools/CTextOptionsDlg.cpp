// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CTextOptionsDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/tools/CTextTool.h"
#include "ui/tools/CTextStyleGroups.h"
#include "ui/widgets/OkCancelButtons.h"

CTextOptionsDlg::CTextOptionsDlg(CTextTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor)
    : QDialog(parent)
    , tool(tool)
    , style(new CTextStyleGroups(CTextStyleGroups::TextAnnotation, pickColor))
    , text(new QPlainTextEdit)
{
    setWindowTitle(QStringLiteral("Text Options"));
    style->load(tool);
    text->setPlainText(tool.label);
    // Enter starts a new line; Tab still moves on to the next control.
    text->setTabChangesFocus(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* annotation = new QGroupBox(QStringLiteral("Text Annotation"));
    auto* annotationLayout = new QVBoxLayout(annotation);
    annotationLayout->addWidget(text);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(style);
    layout->addWidget(annotation);
    layout->addWidget(buttons);

    // The user opens this dialog to type: start in the text.
    text->setFocus();
}

void CTextOptionsDlg::accept()
{
    style->store(tool);
    tool.label = text->toPlainText();
    QDialog::accept();
}
