// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/calibration/CCalibrateDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/tools/ToolKind.h"
#include "ui/calibration/MagnificationEdit.h"
#include "ui/widgets/OkCancelButtons.h"

CCalibrateDlg::CCalibrateDlg(bool vertical, ImageDocument& document, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , vertical(vertical)
    , doc(document)
    , magnification(new MagnificationEdit)
    , distance(new QLineEdit)
    , units(new QButtonGroup(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(vertical ? QStringLiteral("Calibrate Vertical") : QStringLiteral("Calibrate"));

    const CalibrationState& calibration = doc.calibration;
    magnification->setObjectName(QStringLiteral("magnification"));
    magnification->setAlignment(Qt::AlignRight);
    magnification->setMagnification(calibration.CalibrationMagnification);
    magnification->setReadOnly(vertical);
    distance->setObjectName(QStringLiteral("distance"));
    distance->setAlignment(Qt::AlignRight);
    distance->setText(QString::number(vertical ? calibration.DistanceVertical : calibration.Distance, 'f', 2));

    auto* unitBox = new QGroupBox(QStringLiteral("Units"));
    auto* unitLayout = new QHBoxLayout(unitBox);
    int index = 0;
    for (const char* name : { "mm", "um", "mil" }) {
        auto* radio = new QRadioButton(QString::fromLatin1(name));
        radio->setEnabled(!vertical);
        units->addButton(radio, index++);
        unitLayout->addWidget(radio);
    }
    if (QAbstractButton* selected = units->button(calibration.Units))
        selected->setChecked(true);

    auto* buttons = okCancelButtons(this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Magnification"), magnification);
    fields->addRow(QStringLiteral("Distance"), distance);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(unitBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    distance->setFocus();
}

bool CCalibrateDlg::ownToolActive() const
{
    return !abandoned && doc.activeTool()
        && doc.activeTool()->kind == (vertical ? KindCalibrateVertical : KindCalibrate);
}

void CCalibrateDlg::accept()
{
    // Our choice: when the calibration tool is gone (opening an image clears
    // it), there is no length to calibrate against and OK stores nothing.
    if (!ownToolActive()) {
        QDialog::accept();
        return;
    }
    unsigned newMagnification = doc.calibration.CalibrationMagnification;
    // Our choice: a magnification of 0 is refused and the dialog stays open.
    if (!vertical && !magnification->readMagnification(newMagnification))
        return;

    // Read like atof: the leading number counts, text without one is 0.
    bool ok = false;
    const double known = SettingsStore::parseReal(distance->text(), &ok);
    doc.calibration.calibrate(
        vertical, known, doc.activeTool()->GetPixelLength(), newMagnification, units->checkedId());
    QDialog::accept();
}

void CCalibrateDlg::done(int result)
{
    // Every way of closing ends here; another tool may have replaced ours.
    if (ownToolActive())
        doc.SetActiveTool(nullptr);
    QDialog::done(result);
}

void CCalibrateDlg::abandon()
{
    abandoned = true;
    close();
}
