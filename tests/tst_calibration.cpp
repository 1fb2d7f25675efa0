// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QtTest>
#include <QtWidgets>

#include "DataRows.h"
#include "MessageLog.h"
#include "PictureView.h"
#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/calibration/CCalibrateDlg.h"
#include "ui/calibration/CCalibrateNowDlg.h"
#include "ui/calibration/CMagnificationDlg.h"
#include "ui/output/CTitleBlockDlg.h"
#include "ui/tools/CBurnNowDlg.h"

namespace {
const QString section = QStringLiteral("Calibration");

// Clicks the button with this text (mnemonics aside) and lets a dialog that closed go.
void answer(QWidget& dialog, const QString& text)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text)
            button->click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void typeInto(QWidget& dialog, const char* field, const QString& text)
{
    QLineEdit* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(field));
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

// Starts a calibration as its command does, the tool's ends `length` + 1 pixels apart.
CCalibrateDlg* startCalibration(PictureView& video, bool vertical, int length)
{
    video.doc.onCommand(vertical ? ID_CALIBRATE_VERTICAL : ID_CALIBRATE);
    video.doc.activeTool()->points[2] = vertical ? QPoint(320, 241 + length) : QPoint(321 + length, 240);
    return video.wnd.calibrateDialog();
}
} // namespace

class TestCalibration : public QObject {
    Q_OBJECT

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    // Scale, ScaleVertical, Distance, DistanceVertical, CalibrationMagnification and Units as stored; -1 where
    // nothing is.
    QList<double> stored() const
    {
        QList<double> values;
        for (const char* key :
            { "Scale", "ScaleVertical", "Distance", "DistanceVertical", "CalibrationMagnification", "Units" })
            values << SettingsStore(iniPath()).readReal(section, key, -1.0);
        return values;
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    ScriptedPrompts prompts;
    MessageLog log;

private slots:
    void init()
    {
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
    }
    void cleanup() { settings.reset(); }

    void calibrationStoresTheScale_data()
    {
        columns<bool, QString, int, QString, QList<double>>("vertical", "distance", "replacement", "button", "result");
        const QList<double> nothing(6, -1.0);
        // Ends 101 (51) pixels apart at 10x. The scale is the distance times the reciprocal of the length,
        // to the last bit: for 0.13 a plain division differs.
        const double h = 0.13 * (1.0 / 100), v = 0.13 * (1.0 / 50);
        QTest::newRow("horizontal sets both axes")
            << false << "0.13" << -1 << "OK" << QList<double> { h, h, 0.13, 0.13, 10, 1 };
        QTest::newRow("vertical sets its own")
            << true << "0.13" << -1 << "OK" << QList<double> { 0.01, v, -1, 0.13, 10, 1 };
        QTest::newRow("Cancel") << false << "1.0" << -1 << "Cancel" << nothing;
        QTest::newRow("OK after a line tool") << false << "1.0" << int(KindLine) << "OK" << nothing;
    }
    void calibrationStoresTheScale()
    {
        const auto [vertical, distance, replacement, button, result]
            = fetch<bool, QString, int, QString, QList<double>>(
                "vertical", "distance", "replacement", "button", "result");
        if (vertical) {
            settings->writeReal(section, "Scale", 0.01);
            settings->writeReal(section, "DistanceVertical", 2.345);
            settings->writeInt(section, "CalibrationMagnification", 10);
            settings->writeInt(section, "Units", 1);
        }
        PictureView video(*settings, prompts, log);
        QPointer<CCalibrateDlg> dialog = startCalibration(video, vertical, vertical ? 50 : 100);
        QLineEdit* magnification = dialog->findChild<QLineEdit*>("magnification");
        const QStringList shown { dialog->windowTitle(), magnification->text(),
            dialog->findChild<QLineEdit*>("distance")->text(),
            dialog->findChild<QButtonGroup*>()->checkedButton()->text() };
        QCOMPARE(shown,
            vertical ? QStringList({ "Calibrate Vertical", "10", "2.35", "um" })
                     : QStringList({ "Calibrate", "100", "1.00", "mm" }));
        QCOMPARE(magnification->isReadOnly(), vertical);
        for (const QRadioButton* unit : dialog->findChildren<QRadioButton*>())
            QCOMPARE(unit->isEnabled(), !vertical);

        if (!vertical) {
            typeInto(*dialog, "magnification", "10");
            answer(*dialog, "um");
        }
        typeInto(*dialog, "distance", distance);
        if (replacement >= 0)
            video.doc.SetActiveTool(ToolFactory::create(replacement, *settings, log));
        answer(*dialog, button);
        QVERIFY(dialog.isNull());
        QCOMPARE(video.doc.activeTool() ? video.doc.activeTool()->kind : 0, qMax(replacement, 0));
        QCOMPARE(video.doc.calibration.calibrated, result != QList<double>(6, -1.0));
        QCOMPARE(stored(), result);
    }

    void magnificationIsAWholeNumberFromOne_data()
    {
        columns<QString, bool, unsigned>("typed", "accepted", "magnification");
        QTest::newRow("25") << "25" << true << 25u;
        QTest::newRow("signs and letters dropped") << "-4x0" << true << 40u;
        QTest::newRow("largest") << "2147483647" << true << 2147483647u;
        QTest::newRow("zero") << "0" << false << 60u;
        QTest::newRow("beyond the store") << "2147483648" << false << 60u;
    }
    void magnificationIsAWholeNumberFromOne()
    {
        const auto [typed, accepted] = fetch<QString, bool>("typed", "accepted");
        CMagnificationDlg setMagnification(60, true);
        setMagnification.show();
        QDialog* dialog = &setMagnification;
        QCOMPARE(setMagnification.windowTitle(), QStringLiteral("Set Magnification"));
        QCOMPARE(dialog->findChild<QLineEdit*>("magnification")->text(), QStringLiteral("60"));
        typeInto(*dialog, "magnification", typed);
        answer(*dialog, "OK");
        QCOMPARE(dialog->isVisible(), !accepted);
        QCOMPARE(dialog->findChild<QMessageBox*>() != nullptr, !accepted);
        QTEST(setMagnification.magnification(), "magnification");
    }

    void promptDialogs_data()
    {
        columns<QStringList, QString, int>("texts", "button", "result"); // texts: the title, labels and check box
        const QString dontShow = QStringLiteral("Don't show me this again");
        QTest::newRow("burn, Return for Yes")
            << QStringList { "Burn to Image", "Would you like to burn this to the image now?", dontShow } << "Return"
            << int(QDialog::Accepted);
        QTest::newRow("calibrate now, No") << QStringList { "System is not Calibrated",
            "The system is not calibrated.\n\nWould you like to calibrate it now?", dontShow }
                                           << "No" << int(QDialog::Rejected);
        QTest::newRow("title block, OK") << QStringList { "Title Block", "Use Date && Magnifcation" } << "OK"
                                         << int(QDialog::Accepted);
    }
    void promptDialogs()
    {
        const auto [texts, button] = fetch<QStringList, QString>("texts", "button");
        std::unique_ptr<QDialog> dialog;
        if (texts[0] == "Burn to Image")
            dialog = std::make_unique<CBurnNowDlg>();
        else if (texts.size() == 3)
            dialog = std::make_unique<CCalibrateNowDlg>();
        else
            dialog = std::make_unique<CTitleBlockDlg>();
        dialog->show();
        QStringList shown { dialog->windowTitle() };
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            shown << label->text();
        shown << dialog->findChild<QCheckBox*>()->text();
        QCOMPARE(shown, texts);
        auto* title = qobject_cast<CTitleBlockDlg*>(dialog.get());
        for (const char* line : { "title1", "title2", "title3" }) {
            if (title)
                typeInto(*title, line, QLatin1String(line));
        }
        // The check box counts whatever button closes the dialog; Return answers Yes.
        dialog->findChild<QCheckBox*>()->click();
        if (button == "Return")
            QTest::keyClick(dialog.get(), Qt::Key_Return);
        else
            answer(*dialog, button);
        QTEST(dialog->result(), "result");
        if (title)
            QCOMPARE((QStringList { title->text().title1, title->text().title2, title->text().title3 }),
                (QStringList { "title1", "title2", "title3" }));
        if (auto* question = qobject_cast<CQuestionDlg*>(dialog.get()))
            QVERIFY(question->dontShowAgain());
    }
};

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
