// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QtTest>

#include "MessageLog.h"
#include "TestImages.h"
#include "core/base/SettingsStore.h"
#include "core/calibration/CalibrationState.h"

using Values = QList<double>;

class TestSettings : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    void writesReachTheStoreAtOnce()
    {
        SettingsStore store(iniPath());
        QCOMPARE(store.readString("Image", "Title1", "x"), QStringLiteral("x"));
        QVERIFY(!QFile::exists(iniPath()));
        store.writeInt("Image", "BorderWidth", 19);
        store.writeString("Image", "Title1", "Smith, Jones & Co");
        // Sections are groups and integers are plain numbers in the file.
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.startsWith("[Image]\nBorderWidth=19\n"), text.constData());
        QCOMPARE(
            SettingsStore(iniPath()).readString("Image", "Title1", QString()), QStringLiteral("Smith, Jones & Co"));
    }

    // What a hand-edited file reads as: S/value with the defaults 7 and 2.5 (an unreadable value
    // gives them, not 0), or the calibration's Magnification, CalibrationMagnification, Units and
    // effective scales. No text: the value written by the store, read back exactly, stored as text
    // a C program's atof reads.
    void readsSoundValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<Values>("read");
        const auto row = [](const char* name, const char* stored, const Values& read) {
            QTest::newRow(name) << QByteArray(stored) << read;
        };
        row("plain", "[S]\nvalue=42", { 42, 42 });
        row("text", "[S]\nvalue=abc", { 7, 2.5 });
        row("overflow", "[S]\nvalue=99999999999", { 7, 99999999999.0 });
        row("nan", "[S]\nvalue=nan", { 7, 2.5 });
        row("trailing unit", "[S]\nvalue=1.5mm", { 7, 1.5 });
        row("negative", "[S]\nvalue=-5", { -5, -5 });
        row("colour above 2^31", "[S]\nvalue=4294967295", { -1, 4294967295.0 });
        row("tiny calibration written", nullptr, { 7, 0.0001234 });
        row("one third written", nullptr, { 7, 1.0 / 3.0 });
        row("large written", nullptr, { 7, 123456789.125 });
        row("nothing stored", "[Calibration]", { 100, 100, 0, 1, 1 });
        row("magnification follows calibration", "[Calibration]\nCalibrationMagnification=50", { 50, 50, 0, 1, 1 });
        row("anisotropic at double magnification",
            "[Calibration]\nCalibrationMagnification=100\nMagnification=200\nScale=0.002\nScaleVertical=0.004\nUnits=1",
            { 200, 100, 1, 0.001, 0.002 });
        row("stored zero magnification", "[Calibration]\nCalibrationMagnification=40\nMagnification=0\nScale=0.5",
            { 40, 40, 0, 0.5, 1 });
        row("stored zero calibration magnification", "[Calibration]\nCalibrationMagnification=0\nMagnification=0",
            { 100, 100, 0, 1, 1 });
        row("unit out of range", "[Calibration]\nUnits=9", { 100, 100, 0, 1, 1 });
        row("negative unit", "[Calibration]\nUnits=-7", { 100, 100, 0, 1, 1 });
        row("unreadable", "[Calibration]\nCalibrationMagnification=abc\nScale=nan\nScaleVertical=abc",
            { 100, 100, 0, 1, 1 });
    }
    void readsSoundValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(Values, read);
        if (stored.isNull())
            SettingsStore(iniPath()).writeReal("S", "value", read[1]);
        else
            QVERIFY(!TestImages::writeBytes(dir.path(), "Scopique.conf", stored + "\n").isEmpty());
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        const Values values = read.size() == 2
            ? Values { double(settings.readInt("S", "value", 7)), settings.readReal("S", "value", 2.5) }
            : Values { double(state.Magnification), double(state.CalibrationMagnification), double(state.Units),
                  state.effectiveScale, state.effectiveScaleVertical };
        QCOMPARE(values, read);
        QVERIFY(!stored.isNull() || std::atof(qPrintable(settings.readString("S", "value", QString()))) == read[1]);
        QVERIFY(!state.calibrated);
    }

    void calibrationSettersWriteThrough()
    {
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        // A horizontal calibration sets both axes.
        state.SetScale(0.0001234);
        state.SetDistance(2.5);
        Values stored;
        for (const char* key : { "ScaleVertical", "DistanceVertical" })
            stored << SettingsStore(iniPath()).readReal("Calibration", key, -1.0);
        state.SetScaleVertical(0.5);
        state.SetDistanceVertical(0.75);
        state.SetCalibrationMagnification(40);
        state.SetUnitIndex(2);
        state.SetMagnification(200);
        for (const char* key : { "Scale", "ScaleVertical", "Distance", "DistanceVertical", "CalibrationMagnification",
                 "Units", "Magnification" })
            stored << SettingsStore(iniPath()).readReal("Calibration", key, -1.0);
        QCOMPARE(stored, (Values { 0.0001234, 2.5, 0.0001234, 0.5, 2.5, 0.75, 40, 2, 200 }));
        // The status bar shows the new magnification.
        QCOMPARE(log.messages, (QList<MessageLog::Message> { { WM_APP_SET_MAG, 200, 0 } }));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
