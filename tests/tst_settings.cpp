// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "core/base/SettingsStore.h"
#include "core/calibration/CalibrationState.h"

class TestSettings : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    void writeIni(const QByteArray& text)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void writesReachTheStoreAtOnce()
    {
        SettingsStore store(iniPath());
        QCOMPARE(store.readInt("Image", "BorderWidth", 20), 20);
        QCOMPARE(store.readString("Image", "Title1", "x"), QStringLiteral("x"));
        QCOMPARE(store.readReal("Calibration", "Scale", 1.0), 1.0);
        QVERIFY(!QFile::exists(iniPath()));

        store.writeInt("Image", "BorderWidth", 19);
        store.writeString("Image", "Title1", "Smith, Jones & Co");
        store.writeInt("Tool", "Color", 0x00ff8040);
        // Sections are groups and integers are plain numbers in the file.
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Image]"));
        QVERIFY(text.contains("BorderWidth=19"));
        QVERIFY(text.contains("Color=16744512"));

        const SettingsStore reopened(iniPath());
        QCOMPARE(reopened.readInt("Image", "BorderWidth", 20), 19);
        QCOMPARE(reopened.readString("Image", "Title1", QString()), QStringLiteral("Smith, Jones & Co"));
        QCOMPARE(reopened.readInt("Tool", "Color", 0), 0x00ff8040);
    }

    void realNumbersRoundTrip_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("tiny calibration") << 0.0001234;
        QTest::newRow("one third") << 1.0 / 3.0;
        QTest::newRow("large") << 123456789.125;
    }
    void realNumbersRoundTrip()
    {
        QFETCH(double, value);
        SettingsStore(iniPath()).writeReal("Calibration", "Scale", value);
        const SettingsStore reopened(iniPath());
        QCOMPARE(reopened.readReal("Calibration", "Scale", 0.0), value);
        // Stored as text a C program's atof reads: no decimal comma, no quotes.
        QCOMPARE(std::atof(reopened.readString("Calibration", "Scale", QString()).toLatin1().constData()), value);
    }

    void handEditedValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expectedInt");
        QTest::addColumn<double>("expectedReal");
        // Defaults are 7 and 2.5: unreadable values give them, not 0.
        QTest::newRow("plain") << QByteArray("42") << 42 << 42.0;
        QTest::newRow("text") << QByteArray("abc") << 7 << 2.5;
        QTest::newRow("overflow") << QByteArray("99999999999") << 7 << 99999999999.0;
        QTest::newRow("nan") << QByteArray("nan") << 7 << 2.5;
        QTest::newRow("trailing unit") << QByteArray("1.5mm") << 7 << 1.5;
        QTest::newRow("negative") << QByteArray("-5") << -5 << -5.0;
        QTest::newRow("colour above 2^31") << QByteArray("4294967295") << -1 << 4294967295.0;
    }
    void handEditedValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, expectedInt);
        QFETCH(double, expectedReal);
        writeIni("[S]\nvalue=" + stored + "\n");
        const SettingsStore store(iniPath());
        QCOMPARE(store.readInt("S", "value", 7), expectedInt);
        QCOMPARE(store.readReal("S", "value", 2.5), expectedReal);
    }

    void calibrationReadsSoundValues_data()
    {
        // Magnification, CalibrationMagnification, Units and the effective scales.
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QList<double>>("loaded");
        using Values = QList<double>;
        QTest::newRow("nothing stored") << QByteArray() << Values { 100, 100, 0, 1, 1 };
        QTest::newRow("magnification follows calibration")
            << QByteArray("CalibrationMagnification=50") << Values { 50, 50, 0, 1, 1 };
        QTest::newRow("anisotropic at double magnification")
            << QByteArray("CalibrationMagnification=100\nMagnification=200\nScale=0.002\nScaleVertical=0.004\nUnits=1")
            << Values { 200, 100, 1, 0.001, 0.002 };
        QTest::newRow("stored zero magnification")
            << QByteArray("CalibrationMagnification=40\nMagnification=0\nScale=0.5") << Values { 40, 40, 0, 0.5, 1 };
        QTest::newRow("stored zero calibration magnification")
            << QByteArray("CalibrationMagnification=0\nMagnification=0") << Values { 100, 100, 0, 1, 1 };
        QTest::newRow("unit out of range") << QByteArray("Units=9") << Values { 100, 100, 0, 1, 1 };
        QTest::newRow("unreadable scale") << QByteArray("Scale=nan\nScaleVertical=abc") << Values { 100, 100, 0, 1, 1 };
    }
    void calibrationReadsSoundValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QList<double>, loaded);
        writeIni("[Calibration]\n" + stored + "\n");
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        QCOMPARE((QList<double> { double(state.Magnification), double(state.CalibrationMagnification),
                     double(state.Units), state.effectiveScale, state.effectiveScaleVertical }),
            loaded);
        QVERIFY(!state.calibrated);
    }

    void calibrationSettersWriteThrough()
    {
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        const auto reopened
            = [this](const char* key) { return SettingsStore(iniPath()).readReal("Calibration", key, -1.0); };
        // A horizontal calibration sets both axes.
        state.SetScale(0.0001234);
        state.SetDistance(2.5);
        QCOMPARE(reopened("ScaleVertical"), 0.0001234);
        QCOMPARE(reopened("DistanceVertical"), 2.5);

        state.SetScaleVertical(0.5);
        state.SetDistanceVertical(0.75);
        state.SetCalibrationMagnification(40);
        state.SetUnitIndex(2);
        state.SetMagnification(200);
        QList<double> stored;
        for (const char* key : { "Scale", "ScaleVertical", "Distance", "DistanceVertical", "CalibrationMagnification",
                 "Units", "Magnification" })
            stored << reopened(key);
        QCOMPARE(stored, (QList<double> { 0.0001234, 0.5, 2.5, 0.75, 40, 2, 200 }));
        // The status bar shows the new magnification.
        QCOMPARE(log.messages, (QList<MessageLog::Message> { { WM_APP_SET_MAG, 200, 0 } }));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
