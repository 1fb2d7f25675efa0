// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cmath>
#include <ctime>
#include <memory>

#include <QClipboard>
#include <QPushButton>
#include <QTableView>

#include "DataRows.h"
#include "ShownFrame.h"
#include "core/base/CommandIds.h"
#include "core/base/TimeFormat.h"
#include "core/measure/Measurements.h"
#include "core/tools/ToolKind.h"
#include "ui/measure/CMeasurementsBar.h"

namespace {

using Values = QList<double>; // Length, Angle, Area, Perimeter; NaN where the cell is empty
const double none = std::numeric_limits<double>::quiet_NaN();
const QByteArray header = "#,Image,Tool,Length,Angle,Area,Perimeter,Unit,Magnification,Time\r\n";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The shown window with the user's gestures and the results.
struct Window : ShownFrame {
    using ShownFrame::ShownFrame;
    // Vertices at `points`, the last one laid by the double-click that closes the polygon.
    void polygon(const QList<QPoint>& points)
    {
        for (const QPoint& point : points)
            mouse(point == points.last() ? QTest::MouseDClick : QTest::MouseClick, point);
    }
    void record() { key(Qt::Key_M, Qt::ControlModifier); }
    // Lays a Line from (100, 100) to (150, 120) and records it.
    void recordLine() { lay(Qt::Key_L, { 100, 100 }, { 150, 120 }), record(); }
    const MeasurementTable& table() { return frame.measurementResults().table(); }
    CMeasurementsBar& bar() { return *frame.measurementsBar(); }
    QTableView& rows() { return *bar().rowsView(); }
    // A click on the rows view's row `index`, through the window.
    void clickRow(int index)
    {
        QCoreApplication::processEvents();
        const QRect cell = rows().visualRect(rows().model()->index(index, MeasurementTable::Tool));
        mouseOnWindow(QTest::MouseClick, rows().viewport()->mapTo(&frame, cell.center()));
    }
    // A row of the table, or of the statistics under it, as shown, the cells separated by "|".
    QString line(QAbstractItemModel* model, int index)
    {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(index, column).data().toString();
        return cells.join(QLatin1Char('|'));
    }
    QString row(int index) { return line(rows().model(), index); }
    QString summary(MeasurementTable::Statistic statistic) { return line(bar().summaryView()->model(), statistic); }
};

} // namespace

class TestMeasurements : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return home->filePath(QStringLiteral("Scopique.conf")); }
    QString journalPath() const { return MeasurementJournal::defaultPath(); }

    // Settings and the data folder (the journal) of each test, its own.
    std::unique_ptr<QTemporaryDir> home;

private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", home->filePath(QStringLiteral("data")).toLocal8Bit());
    }

    // Each tool's row from a figure laid with the pointer, with the scales of the calibration: 0.5 and 0.25 mil a
    // pixel at magnification 100, the picture seen at 200. The journal holds the same rows.
    void toolRows()
    {
        for (const auto& [name, value] :
            QList<QPair<QString, QString>> { { "Scale", "0.5" }, { "ScaleVertical", "0.25" }, { "Units", "2" },
                { "CalibrationMagnification", "100" }, { "Magnification", "200" } })
            SettingsStore(iniPath()).writeString(QStringLiteral("Calibration"), name, value);
        Window w(iniPath());
        const double sx = 0.25, sy = 0.125, r = std::hypot(2 * sx, 3 * sy), rw = 30 * sx, rh = 40 * sy;
        // Away from the top edge, which the shown Measurements bar scrolls out of the pane.
        const QList<std::tuple<QString, int, QList<QPoint>, Values>> figures {
            { "Rectangle", Qt::Key_R, { { 10, 60 }, { 41, 101 } }, { none, none, rw * rh, 2 * (rw + rh) } },
            { "Line", Qt::Key_L, { { 100, 50 }, { 130, 90 } }, { std::hypot(29 * sx, 39 * sy), none, none, none } },
            // Arm A ends at the press, the vertex lies 20 pixels right of it, arm B's end follows the pointer: a
            // right angle, in degrees as the tools take them.
            { "Angle", Qt::Key_A, { { 100, 100 }, { 120, 60 } }, { none, M_PI / 2 * 180 / 3.14159, none, none } },
            { "Circle", Qt::Key_C, { { 200, 200 }, { 203, 204 } }, { 2 * r, none, r * r * 3.14159, r * 6.28318 } },
            { "Polygon", Qt::Key_P, { { 50, 50 }, { 150, 50 }, { 150, 100 } },
                { none, none, 0.5 * 100 * sx * 50 * sy, 100 * sx + 50 * sy + std::hypot(100 * sx, 50 * sy) } },
        };
        // The recording clock's time, as the rows show it.
        const auto now = [] { return FormatLocalTime(std::time(nullptr), "%Y-%m-%dT%H:%M:%S"); };
        const QString before = now();
        int count = 0;
        for (const auto& [tool, key, gesture, values] : figures) {
            w.key(Qt::Key(key));
            if (key == Qt::Key_P)
                w.polygon(gesture);
            else
                w.drag(gesture[0], gesture[1]);
            w.record();
            QCOMPARE(w.table().size(), ++count);
            const MeasurementRecord& recorded = w.table().row(count - 1);
            QCOMPARE(QStringList({ QString::number(recorded.number), recorded.image, recorded.tool, recorded.unit,
                         QString::number(recorded.magnification) }),
                QStringList({ QString::number(count), "", tool, "mil", "200" }));
            QVERIFY2(recorded.time >= before && recorded.time <= now(), qPrintable(recorded.time));
            for (int v = 0; v < 4; ++v) // an empty value only matches NaN
                QCOMPARE(recorded.values[v].value_or(none), values[v]);
        }
        QCOMPARE(readAll(journalPath()), w.table().toCsv());
    }

    // Record Measurement wants a placed measuring tool; Burn On records the tool it burns unless it was
    // recorded just as it is.
    void recordAndBurn_data()
    {
        columns<QStringList, int, bool>("steps", "rows", "enabled");
        QTest::newRow("no tool") << QStringList { "M" } << 0 << false;
        QTest::newRow("line") << QStringList { "L", "drag" } << 0 << true;
        QTest::newRow("record twice") << QStringList { "L", "drag", "M", "M" } << 2 << true;
        QTest::newRow("burn") << QStringList { "L", "drag", "B" } << 1 << false;
        QTest::newRow("record, move, burn") << QStringList { "L", "drag", "M", "move", "B" } << 2 << false;
        QTest::newRow("burnt when replaced") << QStringList { "L", "drag", "M", "move", "R" } << 2 << false;
        QTest::newRow("open polygon") << QStringList { "P", "click", "M" } << 0 << false;
        QTest::newRow("closed polygon") << QStringList { "P", "click", "close", "M" } << 1 << true;
    }
    void recordAndBurn()
    {
        const auto [steps, rows] = fetch<QStringList, int>("steps", "rows");
        Window w(iniPath());
        w.prompts.burnAnswer = { true, false };
        for (const QString& step : steps) {
            if (step == QLatin1String("drag"))
                w.drag({ 100, 100 }, { 150, 120 });
            else if (step == QLatin1String("move"))
                w.drag({ 150, 120 }, { 170, 130 });
            else if (step == QLatin1String("click"))
                w.mouse(QTest::MouseClick, { 50, 50 });
            else if (step == QLatin1String("close"))
                w.polygon({ { 150, 60 }, { 100, 150 } });
            else
                w.key(Qt::Key(step.at(0).unicode()), step == QLatin1String("M") ? Qt::ControlModifier : Qt::NoModifier);
        }
        QCOMPARE(w.table().size(), rows);
        QTEST(w.enabled(ID_RECORD_MEASUREMENT), "enabled");
        QCOMPARE(w.enabled(ID_FILE_EXPORT_MEASUREMENTS), rows > 0);
    }

    // The journal read at start: damage stops the reading with a message, never changes the file, and a copy
    // of it is kept before the journal is written anew.
    void journalSurvives_data()
    {
        columns<QByteArray, int, int>("file", "rows", "badLine"); // badLine 0: no message
        const QByteArray one = "1,a.png,Line,5,,,,mm,100,2024-05-01T10:00:00\r\n";
        const QByteArray two = "2,b.png,Angle,,45,,,um,40,2024-05-01T10:00:05\r\n";
        QTest::newRow("whole") << header + one + two << 2 << 0;
        QTest::newRow("crash in a row") << header + one + two + "3,c.png,Li" << 2 << 4;
        QTest::newRow("damaged middle line") << header + one + "1,a.png,Li\xFF\r\n" + two << 1 << 3;
        QTest::newRow("other header") << "Number,Image\r\n" + one << 0 << 1;
        QTest::newRow("by hand") << "\xEF\xBB\xBF" + header.chopped(2) + "\n" + one.chopped(2) << 1 << 0; // BOM, LF
    }
    void journalSurvives()
    {
        const auto [file, rows, badLine] = fetch<QByteArray, int, int>("file", "rows", "badLine");
        const QString path = journalPath(), copy = QFileInfo(path).dir().filePath("Measurements (damaged).csv");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile written(path);
        QVERIFY(written.open(QIODevice::WriteOnly) && written.write(file) == file.size() && written.flush());
        Window w(iniPath());
        QCOMPARE(w.rows().model()->rowCount(), rows);
        QCOMPARE(readAll(path), file);
        QCOMPARE(readAll(copy), badLine ? file : QByteArray());
        const QString message = QStringLiteral("\u201C%1\u201D only up to line %2: ").arg(path).arg(badLine);
        QCOMPARE(w.prompts.messages.size(), badLine ? 1 : 0);
        QVERIFY(!badLine || (w.prompts.messages[0].contains(message) && w.prompts.messages[0].contains(copy)));
        w.recordLine();
        QCOMPARE(w.table().row(rows).number, rows == 0 ? 1 : 2 + (rows == 2));
        // The journal ends with the rows as read and the new one, beside the one copy of the damaged one.
        QVERIFY(readAll(path).endsWith(w.table().toCsv().mid(header.size())));
        QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files).size(), badLine ? 2 : 1);
    }

    // The bar: shown by the first recording, two decimals with the exact value in the tooltip, the statistics
    // under the columns, Delete, Copy and Clear, and the rows again at the next start. File > Export
    // Measurements writes the table as CSV, whole or not at all, with the picture's name as the caption
    // shows it.
    void barAndExport()
    {
        {
            Window w(iniPath());
            // One line from (100, 100), its second end dragged between recordings.
            w.key(Qt::Key_L);
            QPoint from(100, 100);
            for (const QPoint end : { QPoint(150, 120), QPoint(110, 100), QPoint(100, 140) }) {
                w.drag(from, end);
                w.record();
                from = end;
            }
            QTRY_VERIFY(w.bar().isVisible() && w.checked(ID_VIEW_MEASUREMENTS));
            // Lengths 52.5547..., 9 and 39.
            QCOMPARE(w.row(1), "2||Line|9.00||||mm|100|" + w.table().row(1).time);
            QCOMPARE(w.rows().model()->index(0, MeasurementTable::Length).data(Qt::ToolTipRole).toString(),
                MeasurementTable::numberText(std::hypot(49.0, 19.0)));
            // None for a column without values; the sample standard deviation.
            QCOMPARE(w.summary(MeasurementTable::Mean), QStringLiteral("Mean|||33.52||||||"));
            QCOMPARE(w.summary(MeasurementTable::SD), QStringLiteral("SD|||22.29||||||"));

            // Delete on the selected middle row: the others keep their numbers.
            QVERIFY(!w.bar().deleteButton()->isEnabled());
            w.clickRow(1);
            QVERIFY(w.bar().deleteButton()->isEnabled());
            w.key(Qt::Key_Delete);
            QCOMPARE(w.row(1), "3||Line|39.00||||mm|100|" + w.table().row(1).time);
            QCOMPARE(w.summary(MeasurementTable::Min), QStringLiteral("Min|||39.00||||||"));

            // Ctrl+C in the table copies the selected row (not the Circle tool).
            w.clickRow(1);
            w.key(Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(w.tool()->kind, int(KindLine));
            const QString third = QStringLiteral("3\t\tLine\t39\t\t\t\tmm\t100\t%1\n").arg(w.table().row(1).time);
            QCOMPARE(QGuiApplication::clipboard()->text(),
                "#\tImage\tTool\tLength\tAngle\tArea\tPerimeter\tUnit\tMagnification\tTime\n" + third);
            QVERIFY(w.frame.close());
        }
        Window w(iniPath());
        QVERIFY(w.bar().isVisible());
        QCOMPARE(w.row(1), "3||Line|39.00||||mm|100|" + w.table().row(1).time);

        QTemporaryDir out;
        w.prompts.openFileAnswer = out.filePath(QStringLiteral("a,\"b\"\u00E9.png"));
        QVERIFY(w.doc().FrameBuffer.image().save(w.prompts.openFileAnswer, "png"));
        w.frame.action(ID_FILE_OPEN)->trigger();
        QVERIFY(w.prompts.openFilterSeen.startsWith(QStringLiteral("jpg, gif, bmp, png (")));
        w.recordLine();
        QVERIFY(w.table().toCsv().endsWith("4,\"a,\"\"b\"\"\xC3\xA9.png\",Line,"
            + MeasurementTable::numberText(std::hypot(49.0, 19.0)).toLatin1() + ",,,,mm,100,"
            + w.table().row(2).time.toLatin1() + "\r\n"));
        w.prompts.saveFileAnswer = out.filePath(QStringLiteral("results.csv"));
        w.frame.action(ID_FILE_EXPORT_MEASUREMENTS)->trigger();
        QCOMPARE(w.prompts.saveDefaultNameSeen, QStringLiteral("Measurements.csv"));
        QCOMPARE(readAll(w.prompts.saveFileAnswer), w.table().toCsv());

        // Clear, answered Yes: numbering starts again. Hidden by the View command, the bar stays hidden.
        w.prompts.yesNoAnswer = true;
        QTest::mouseClick(w.bar().clearButton(), Qt::LeftButton);
        QCOMPARE(w.prompts.questions, QStringList { "Remove every measurement from the table?" });
        QVERIFY(w.rows().model()->rowCount() == 0 && !w.enabled(ID_FILE_EXPORT_MEASUREMENTS));
        QCOMPARE(w.summary(MeasurementTable::Mean), QStringLiteral("Mean|||||||||"));
        QCOMPARE(readAll(journalPath()), header);
        w.record();
        QVERIFY(w.row(0).startsWith("1|"));
        QCOMPARE(w.summary(MeasurementTable::SD), QStringLiteral("SD|||||||||")); // one value has none
        w.frame.action(ID_VIEW_MEASUREMENTS)->trigger();
        w.record();
        QVERIFY(w.bar().isHidden());
    }
};

QTEST_MAIN(TestMeasurements)
#include "tst_measurements.moc"
