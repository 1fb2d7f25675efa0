// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "app/SettingsStore.h"
#include "calibration/CCalibrateDlg.h"
#include "calibration/CCalibrateNowDlg.h"
#include "calibration/CMagnificationDlg.h"
#include "output/CTitleBlockDlg.h"
#include "tools/CBurnNowDlg.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CVideoWnd.h"

namespace {
const QString calibrationSection = QStringLiteral("Calibration");
const QStringList calibrationKeys { "Scale", "ScaleVertical", "Distance", "DistanceVertical",
    "CalibrationMagnification", "Units" };

void clickButton(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

QPushButton* pushButton(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QRadioButton* radio(QDialog& dialog, const QString& text)
{
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

void typeInto(QDialog& dialog, const char* field, const QString& text)
{
    QLineEdit* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(field));
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}

class TestCalibration : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    QString stored(const QString& key) const
    {
        return SettingsStore(iniPath()).readString(calibrationSection, key, QStringLiteral("absent"));
    }
    double storedReal(const QString& key) const
    {
        return SettingsStore(iniPath()).readReal(calibrationSection, key, -1.0);
    }
    int storedInt(const QString& key) const { return SettingsStore(iniPath()).readInt(calibrationSection, key, -1); }
    // The calibration tool as the calibration commands lay it, with its ends
    // `length` + 1 pixels apart.
    void placeCalibrationTool(CVideoWnd& video, bool vertical, int length)
    {
        video.SetActiveTool(ToolFactory::create(vertical ? KindCalibrateVertical : KindCalibrate, *settings, log));
        video.activeTool->Press({ 320, 240 });
        video.activeTool->current = -1;
        video.activeTool->points[2] = vertical ? QPoint(320, 241 + length) : QPoint(321 + length, 240);
        QCOMPARE(video.activeTool->GetPixelLength(), double(length));
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
    void cleanup()
    {
        flushDeletes();
        settings.reset();
    }

    void horizontalCalibrationSetsBothAxes_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("units");

        QTest::newRow("101 px apart, 1.0 um at 10x") << 100 << "1.0"
                                                     << "um" << 0.01 << 1;
        QTest::newRow("leading number counts") << 40 << "2.5mil"
                                               << "mil" << 0.0625 << 2;
        QTest::newRow("no number gives 0") << 100 << "abc"
                                           << "mm" << 0.0 << 0;
    }
    void horizontalCalibrationSetsBothAxes()
    {
        QFETCH(int, length);
        QFETCH(QString, distance);
        QFETCH(QString, unit);
        QFETCH(double, scale);
        QFETCH(int, units);

        CVideoWnd video(*settings, prompts, log);
        placeCalibrationTool(video, false, length);
        QPointer<CCalibrateDlg> dialog = new CCalibrateDlg(false, video, nullptr);
        dialog->show();

        QCOMPARE(dialog->windowTitle(), QStringLiteral("Calibrate"));
        QCOMPARE(dialog->findChild<QLineEdit*>("magnification")->text(), QStringLiteral("100"));
        QCOMPARE(dialog->findChild<QLineEdit*>("distance")->text(), QStringLiteral("1.00"));
        QVERIFY(radio(*dialog, "mm")->isChecked());

        typeInto(*dialog, "magnification", "10");
        typeInto(*dialog, "distance", distance);
        radio(*dialog, unit)->click();
        clickButton(*dialog, QDialogButtonBox::Ok);
        flushDeletes();

        QVERIFY(dialog.isNull());
        QVERIFY(!video.activeTool);
        QVERIFY(video.calibration.calibrated);
        QCOMPARE(storedReal("Scale"), scale);
        QCOMPARE(storedReal("ScaleVertical"), scale);
        QCOMPARE(storedInt("CalibrationMagnification"), 10);
        QCOMPARE(storedInt("Units"), units);
    }

    void verticalCalibrationSetsOnlyTheVerticalAxis()
    {
        settings->writeReal(calibrationSection, "Scale", 0.01);
        settings->writeReal(calibrationSection, "DistanceVertical", 2.345);
        settings->writeInt(calibrationSection, "CalibrationMagnification", 10);
        settings->writeInt(calibrationSection, "Units", 1);
        CVideoWnd video(*settings, prompts, log);
        placeCalibrationTool(video, true, 50);
        QPointer<CCalibrateDlg> dialog = new CCalibrateDlg(true, video, nullptr);
        dialog->show();

        QCOMPARE(dialog->windowTitle(), QStringLiteral("Calibrate Vertical"));
        QLineEdit* magnification = dialog->findChild<QLineEdit*>("magnification");
        QCOMPARE(magnification->text(), QStringLiteral("10"));
        QVERIFY(magnification->isReadOnly());
        QCOMPARE(dialog->findChild<QLineEdit*>("distance")->text(), QStringLiteral("2.35"));
        for (const char* unit : { "mm", "um", "mil" })
            QVERIFY(!radio(*dialog, unit)->isEnabled());
        QVERIFY(radio(*dialog, "um")->isChecked());

        typeInto(*dialog, "distance", "1.0");
        clickButton(*dialog, QDialogButtonBox::Ok);
        flushDeletes();

        QVERIFY(dialog.isNull());
        QVERIFY(!video.activeTool);
        QVERIFY(video.calibration.calibrated);
        QCOMPARE(storedReal("ScaleVertical"), 0.02);
        QCOMPARE(storedReal("DistanceVertical"), 1.0);
        QCOMPARE(storedReal("Scale"), 0.01);
        QCOMPARE(stored("Distance"), QStringLiteral("absent"));
        QCOMPARE(storedInt("CalibrationMagnification"), 10);
        QCOMPARE(storedInt("Units"), 1);
    }

    void cancelStoresNothingAndRemovesTheTool()
    {
        CVideoWnd video(*settings, prompts, log);
        placeCalibrationTool(video, false, 100);
        QPointer<CCalibrateDlg> dialog = new CCalibrateDlg(false, video, nullptr);
        dialog->show();
        typeInto(*dialog, "distance", "5");
        clickButton(*dialog, QDialogButtonBox::Cancel);
        flushDeletes();

        QVERIFY(dialog.isNull());
        QVERIFY(!video.activeTool);
        QVERIFY(!video.calibration.calibrated);
        for (const QString& key : calibrationKeys)
            QCOMPARE(stored(key), QStringLiteral("absent"));
    }

    void okWithoutItsToolStoresNothing_data()
    {
        QTest::addColumn<int>("replacement");
        QTest::newRow("tool cleared") << 0;
        QTest::newRow("line tool instead") << int(KindLine);
        QTest::newRow("other direction") << int(KindCalibrateVertical);
    }
    void okWithoutItsToolStoresNothing()
    {
        QFETCH(int, replacement);
        CVideoWnd video(*settings, prompts, log);
        placeCalibrationTool(video, false, 100);
        QPointer<CCalibrateDlg> dialog = new CCalibrateDlg(false, video, nullptr);
        dialog->show();
        video.SetActiveTool(ToolFactory::create(replacement, *settings, log));

        clickButton(*dialog, QDialogButtonBox::Ok);
        flushDeletes();

        QVERIFY(dialog.isNull());
        QCOMPARE(video.activeTool ? video.activeTool->kind : 0, replacement);
        QVERIFY(!video.calibration.calibrated);
        for (const QString& key : calibrationKeys)
            QCOMPARE(stored(key), QStringLiteral("absent"));
    }

    void calibrationRefusesMagnificationZero()
    {
        CVideoWnd video(*settings, prompts, log);
        placeCalibrationTool(video, false, 100);
        QPointer<CCalibrateDlg> dialog = new CCalibrateDlg(false, video, nullptr);
        dialog->show();
        typeInto(*dialog, "magnification", "0");
        clickButton(*dialog, QDialogButtonBox::Ok);

        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->findChild<QMessageBox*>());
        QVERIFY(video.activeTool);
        for (const QString& key : calibrationKeys)
            QCOMPARE(stored(key), QStringLiteral("absent"));
        delete dialog;
    }

    void magnificationDialogTakesWholeNumbersFromOne_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<unsigned>("magnification");

        QTest::newRow("25") << "25" << true << 25u;
        QTest::newRow("signs and letters dropped") << "-4x0" << true << 40u;
        QTest::newRow("largest") << "2147483647" << true << 2147483647u;
        QTest::newRow("zero") << "0" << false << 60u;
        QTest::newRow("leading zeros of zero") << "000" << false << 60u;
        QTest::newRow("empty") << "" << false << 60u;
        QTest::newRow("beyond the store") << "2147483648" << false << 60u;
    }
    void magnificationDialogTakesWholeNumbersFromOne()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(unsigned, magnification);

        CMagnificationDlg dialog(60, true, nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Magnification"));
        QCOMPARE(dialog.findChild<QLineEdit*>()->text(), QStringLiteral("60"));
        typeInto(dialog, "magnification", typed);
        clickButton(dialog, QDialogButtonBox::Ok);

        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(dialog.findChild<QMessageBox*>() != nullptr, !accepted);
        QCOMPARE(dialog.magnification(), magnification);
    }

    void magnificationDialogCancelKeepsTheValueShown()
    {
        CMagnificationDlg dialog(60, false, nullptr);
        dialog.show();
        QVERIFY(dialog.findChild<QCheckBox*>()->isHidden());
        typeInto(dialog, "magnification", "25");
        clickButton(dialog, QDialogButtonBox::Cancel);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.magnification(), 60u);
    }

    void yesNoPrompts_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("burn") << "burn"
                              << "Burn to Image"
                              << "Would you like to burn this to the image now?";
        QTest::newRow("calibrate now") << "calibrate"
                                       << "System is not Calibrated"
                                       << "The system is not calibrated.\n\nWould you like to calibrate it now?";
    }
    void yesNoPrompts()
    {
        QFETCH(QString, which);
        QFETCH(QString, caption);
        QFETCH(QString, text);

        for (const bool yes : { true, false }) {
            std::unique_ptr<QDialog> dialog;
            if (which == "burn")
                dialog = std::make_unique<CBurnNowDlg>();
            else
                dialog = std::make_unique<CCalibrateNowDlg>();
            dialog->show();
            QCOMPARE(dialog->windowTitle(), caption);
            QCOMPARE(dialog->findChild<QLabel*>()->text(), text);
            QCheckBox* checkBox = dialog->findChild<QCheckBox*>();
            QCOMPARE(checkBox->text(), QStringLiteral("Don't show me this again"));
            checkBox->click();
            pushButton(*dialog, yes ? "Yes" : "No")->click();

            QCOMPARE(dialog->result(), int(yes ? QDialog::Accepted : QDialog::Rejected));
            const bool dontShow = which == "burn" ? static_cast<CBurnNowDlg*>(dialog.get())->dontShowAgain()
                                                  : static_cast<CCalibrateNowDlg*>(dialog.get())->dontShowAgain();
            QVERIFY(dontShow);
        }
    }

    void titleBlockDialogEditsTheThreeLines()
    {
        CTitleBlockDlg dialog;
        dialog.setText({ "Tallmere", "Captured Image", "0000-00-00-00-00-00", true });
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Title Block"));
        QCOMPARE(dialog.findChild<QCheckBox*>()->text(), QStringLiteral("Use Date && Magnifcation"));
        QVERIFY(dialog.findChild<QCheckBox*>()->isChecked());

        typeInto(dialog, "title2", "Wafer 7");
        dialog.findChild<QCheckBox*>()->click();
        const UserPrompts::TitleBlockText text = dialog.text();
        QCOMPARE(text.title1, QStringLiteral("Tallmere"));
        QCOMPARE(text.title2, QStringLiteral("Wafer 7"));
        QCOMPARE(text.title3, QStringLiteral("0000-00-00-00-00-00"));
        QVERIFY(!text.useDate);
    }
};

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
