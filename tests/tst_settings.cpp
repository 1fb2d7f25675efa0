// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "app/SettingsStore.h"
#include "calibration/CalibrationState.h"

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
    QByteArray iniText() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void emptyStoreGivesDefaults()
    {
        const SettingsStore store(iniPath());
        QCOMPARE(store.readInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), 20), 20);
        QCOMPARE(store.readString(QStringLiteral("Image"), QStringLiteral("Title1"), QStringLiteral("x")),
                 QStringLiteral("x"));
        QCOMPARE(store.readReal(QStringLiteral("Calibration"), QStringLiteral("Scale"), 1.0), 1.0);
        QVERIFY(!QFile::exists(iniPath()));
    }

    void writesReachTheStoreAtOnce()
    {
        SettingsStore store(iniPath());
        store.writeInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), 19);
        store.writeString(QStringLiteral("Image"), QStringLiteral("Title1"), QStringLiteral("Smith, Jones & Co"));
        store.writeInt(QStringLiteral("Tool"), QStringLiteral("Color"), 0x00ff8040);

        // Sections are groups and integers are plain numbers in the file.
        const QByteArray text = iniText();
        QVERIFY(text.contains("[Image]"));
        QVERIFY(text.contains("BorderWidth=19"));
        QVERIFY(text.contains("Color=16744512"));

        const SettingsStore reopened(iniPath());
        QCOMPARE(reopened.readInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), 20), 19);
        QCOMPARE(reopened.readString(QStringLiteral("Image"), QStringLiteral("Title1"), QString()),
                 QStringLiteral("Smith, Jones & Co"));
        QCOMPARE(reopened.readInt(QStringLiteral("Tool"), QStringLiteral("Color"), 0), 0x00ff8040);
    }

    void realNumbersRoundTrip_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("tiny calibration") << 0.0001234;
        QTest::newRow("one third") << 1.0 / 3.0;
        QTest::newRow("large") << 123456789.125;
        QTest::newRow("negative") << -2.5;
    }
    void realNumbersRoundTrip()
    {
        QFETCH(double, value);
        SettingsStore(iniPath()).writeReal(QStringLiteral("Calibration"), QStringLiteral("Scale"), value);
        const SettingsStore reopened(iniPath());
        QCOMPARE(reopened.readReal(QStringLiteral("Calibration"), QStringLiteral("Scale"), 0.0), value);
        // Stored as text a C program's atof reads: no decimal comma, no quotes.
        const QString text = reopened.readString(QStringLiteral("Calibration"), QStringLiteral("Scale"), QString());
        QCOMPARE(std::atof(text.toLatin1().constData()), value);
    }

    void handEditedValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expectedInt");
        QTest::addColumn<double>("expectedReal");
        // Defaults are 7 and 2.5: unreadable values give them, not 0.
        QTest::newRow("plain") << QByteArray("42") << 42 << 42.0;
        QTest::newRow("text") << QByteArray("abc") << 7 << 2.5;
        QTest::newRow("empty") << QByteArray("") << 7 << 2.5;
        QTest::newRow("overflow") << QByteArray("99999999999") << 7 << 99999999999.0;
        QTest::newRow("nan") << QByteArray("nan") << 7 << 2.5;
        QTest::newRow("inf") << QByteArray("inf") << 7 << 2.5;
        QTest::newRow("old %f text") << QByteArray("0.000123") << 7 << 0.000123;
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
        QCOMPARE(store.readInt(QStringLiteral("S"), QStringLiteral("value"), 7), expectedInt);
        QCOMPARE(store.readReal(QStringLiteral("S"), QStringLiteral("value"), 2.5), expectedReal);
    }

    void brokenSectionLineDoesNotSpoilTheRest()
    {
        writeIni("[Image\nBorderWidth=1\n[Calibration]\nScale=0.5\n");
        const SettingsStore store(iniPath());
        QCOMPARE(store.readReal(QStringLiteral("Calibration"), QStringLiteral("Scale"), 1.0), 0.5);
    }

    void calibrationReadsSoundValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<uint>("magnification");
        QTest::addColumn<uint>("calibrationMagnification");
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("effectiveScale");
        QTest::addColumn<double>("effectiveScaleVertical");

        QTest::newRow("nothing stored") << QByteArray() << 100u << 100u << 0 << 1.0 << 1.0;
        QTest::newRow("magnification follows calibration")
            << QByteArray("CalibrationMagnification=50\n") << 50u << 50u << 0 << 1.0 << 1.0;
        QTest::newRow("anisotropic at double magnification")
            << QByteArray("CalibrationMagnification=100\nMagnification=200\nScale=0.002\nScaleVertical=0.004\nUnits=1\n")
            << 200u << 100u << 1 << 0.001 << 0.002;
        QTest::newRow("stored zero magnification")
            << QByteArray("CalibrationMagnification=40\nMagnification=0\nScale=0.5\n") << 40u << 40u << 0 << 0.5 << 1.0;
        QTest::newRow("stored zero calibration magnification")
            << QByteArray("CalibrationMagnification=0\nMagnification=0\n") << 100u << 100u << 0 << 1.0 << 1.0;
        QTest::newRow("unit out of range") << QByteArray("Units=9\n") << 100u << 100u << 0 << 1.0 << 1.0;
        QTest::newRow("unreadable scale") << QByteArray("Scale=nan\nScaleVertical=abc\n") << 100u << 100u << 0 << 1.0
                                          << 1.0;
    }
    void calibrationReadsSoundValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(uint, magnification);
        QFETCH(uint, calibrationMagnification);
        QFETCH(int, units);
        QFETCH(double, effectiveScale);
        QFETCH(double, effectiveScaleVertical);
        writeIni("[Calibration]\n" + stored);
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        QCOMPARE(state.Magnification, magnification);
        QCOMPARE(state.CalibrationMagnification, calibrationMagnification);
        QCOMPARE(state.Units, units);
        QCOMPARE(state.effectiveScale, effectiveScale);
        QCOMPARE(state.effectiveScaleVertical, effectiveScaleVertical);
        QVERIFY(!state.calibrated);
    }

    void calibrationSettersWriteThrough()
    {
        SettingsStore settings(iniPath());
        MessageLog log;
        CalibrationState state(settings, log);
        state.load();
        state.SetScale(0.01);
        state.SetMagnification(200);
        state.RecomputeEffectiveScales();
        QCOMPARE(state.effectiveScale, 0.005);
        QCOMPARE(state.effectiveScaleVertical, 0.005);
        QCOMPARE(log.messages, (QList<MessageLog::Message> {{WM_APP_SET_MAG, 200, 0}}));

        state.SetScale(0.0001234);
        state.SetScaleVertical(0.5);
        state.SetDistance(2.5);
        state.SetDistanceVertical(0.75);
        state.SetCalibrationMagnification(40);
        state.SetUnitIndex(2);

        CalibrationState reloaded(settings, log);
        reloaded.load();
        QCOMPARE(reloaded.Scale, 0.0001234);
        QCOMPARE(reloaded.ScaleVertical, 0.5);
        QCOMPARE(reloaded.Distance, 2.5);
        QCOMPARE(reloaded.DistanceVertical, 0.75);
        QCOMPARE(reloaded.CalibrationMagnification, 40u);
        QCOMPARE(reloaded.Magnification, 200u);
        QCOMPARE(reloaded.Units, 2);
        QCOMPARE(reloaded.effectiveScale, 0.0001234 * 40 / 200);

        // A horizontal calibration sets both axes.
        reloaded.SetScale(0.25);
        reloaded.SetDistance(3.0);
        QCOMPARE(settings.readReal(QStringLiteral("Calibration"), QStringLiteral("ScaleVertical"), 0), 0.25);
        QCOMPARE(settings.readReal(QStringLiteral("Calibration"), QStringLiteral("DistanceVertical"), 0), 3.0);

        // No division by zero, whatever reaches the magnification.
        reloaded.SetMagnification(0);
        reloaded.RecomputeEffectiveScales();
        QCOMPARE(reloaded.effectiveScale, 0.25);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
