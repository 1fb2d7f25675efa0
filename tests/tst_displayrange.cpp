// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
// Pictures of 16 bits per sample: shown through a display range, read out
// raw, the range chosen in "Display Range", and everything that turns the
// shown pixels into the picture.
#include <functional>
#include <random>

#include <QDialogButtonBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "DataRows.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/StatusPanes.h"
#include "core/video/SampleMapper.h"
#include "ui/video/CDisplayRangeDlg.h"

using Points = QList<QPoint>;
using Values = QList<int>;
using Rgbs = QList<QRgb>;
Q_DECLARE_METATYPE(DisplayRange)

namespace {

// `size` pixels of 16-bit samples, `value` of each (of each channel in colour).
QImage grey16(const std::function<int(int x, int y)>& value, QSize size = QSize(64, 64),
    QImage::Format format = QImage::Format_Grayscale16)
{
    QImage image(size, format);
    const int channels = format == QImage::Format_Grayscale16 ? 1 : 4;
    for (int y = 0; y < size.height(); ++y)
        for (int i = 0; i < size.width() * channels; ++i)
            reinterpret_cast<quint16*>(image.scanLine(y))[i]
                = quint16(channels == 4 && i % 4 == 3 ? 0xffff : value(i / channels, y));
    return image;
}

// A 12-bit ramp: 0 … 4095 row after row.
const auto ramp = [] { return grey16([](int x, int y) { return x + 64 * y; }); };

// Red 1000 + 10x, green 2000, blue 3000 − 10y; transparent at (0, 0) with `alpha`.
QImage colour16(bool alpha)
{
    QImage image(64, 64, alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixelColor(
                x, y, QColor::fromRgba64(1000 + 10 * x, 2000, 3000 - 10 * y, alpha && x == 0 && y == 0 ? 0 : 65535));
    return image;
}

const auto grey = [](int v) { return qRgb(v, v, v); };
const auto luma = [](QRgb c) { return (qRed(c) + qGreen(c) + qBlue(c)) / 3; };

// The picture written as dir/name and opened as File ▸ Open opens it; the file's path.
QString open(ShownFrame& w, const QString& dir, const QString& name, const QImage& picture)
{
    w.prompts.openFileAnswer = TestImages::write(dir, name, picture);
    w.frame.action(ID_FILE_OPEN)->trigger();
    return w.prompts.openFileAnswer;
}

// The Luma pane at each point, while the end of a new Line is dragged there.
Values readouts(ShownFrame& w, const Points& points)
{
    Values lumas;
    w.key(Qt::Key_X);
    w.key(Qt::Key_L);
    // Pressed beside the first point: a move to where the press was is no move.
    const QPoint first = points.value(0);
    w.mouse(QTest::MousePress, first + QPoint(first.x() > 0 ? -1 : 1, 0));
    for (const QPoint& p : points) {
        w.mouse(QTest::MouseMove, p);
        lumas << w.frame.statusPane(ID_INDICATOR_LUMA)->text().mid(5).toInt();
    }
    w.mouse(QTest::MouseRelease, points.value(0));
    return lumas;
}

} // namespace

class TestDisplayRange : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    // Opened through Auto: the pixels, the range, the raw readout; the
    // command only for pictures that have samples. 8-bit pictures (no
    // range) open, show and read out exactly as Qt decodes them.
    void opening_data()
    {
        columns<QImage, Points, Rgbs, Values, DisplayRange>("picture", "points", "shown", "raw", "range");
        // The row's name is the file's.
        const auto row
            = [](const char* name, const QImage& picture, const Points& points, const Rgbs& shown, const Values& raw,
                  DisplayRange range) { QTest::newRow(name) << picture << points << shown << raw << range; };
        const Points rampPoints { { 0, 0 }, { 14, 0 }, { 0, 32 }, { 17, 63 }, { 63, 63 } };
        const Rgbs rampShown { grey(0), grey(0), grey(128), grey(253), grey(255) };
        // 0.35 % of 4096 samples: the 14 lowest and highest are left out.
        for (const char* name : { "ramp.png", "ramp.tif" })
            row(name, ramp(), rampPoints, rampShown, { 0, 14, 2048, 4049, 4095 }, { 14, 4081 });
        // 1000 … 2023, each value four times, and one hot pixel that does not change Auto's range.
        row("hot pixel.tif", grey16([](int x, int y) { return x == 5 && y == 5 ? 65535 : 1000 + (x + 64 * y) / 4; }),
            { { 0, 0 }, { 0, 32 }, { 63, 63 }, { 5, 5 }, { 6, 5 } },
            { grey(0), grey(128), grey(255), grey(255), grey(20) }, { 1000, 1512, 2023, 65535, 1081 }, { 1003, 2020 });
        for (const int v : { 0, 3000, 65535 })
            row(qPrintable(QStringLiteral("all %1.png").arg(v)), grey16([v](int, int) { return v; }),
                { { 0, 0 }, { 63, 63 } }, { grey(128), grey(128) }, { v, v }, { v, v });
        // One range for the three channels; the readout is their mean, rounded down.
        const Points colourPoints { { 0, 0 }, { 10, 0 }, { 63, 63 } };
        const Rgbs colourShown { qRgb(0, 128, 255), qRgb(13, 128, 255), qRgb(80, 128, 175) };
        for (const char* name : { "colour.png", "colour.tif" })
            row(name, colour16(false), colourPoints, colourShown, { 2000, 2033, 2000 }, { 1000, 3000 });
        row("transparent pixel.png", colour16(true), colourPoints, { qRgb(0, 0, 0), colourShown[1], colourShown[2] },
            { 0, 2033, 2000 }, { 1000, 3000 });
        // 642 wide: the one-pixel border of the width rule comes off the samples too.
        row("bordered.png",
            grey16([](int x, int y) { return x % 641 && y % 481 ? 2000 + x % 100 : 65535; }, { 642, 482 }),
            { { 99, 0 }, { 98, 0 } }, { grey(0), grey(255) }, { 2000, 2099 }, { 2000, 2099 });
        // 8-bit pictures: nothing shown expected, the decoded file is the reference.
        const QImage pattern = TestImages::pattern(64, 48);
        const Points eightBit { { 0, 0 }, { 33, 17 }, { 63, 47 } };
        for (const char* name : { "p.png", "p.jpg", "g.tif" })
            row(name, name[0] == 'g' ? pattern.convertToFormat(QImage::Format_Grayscale8) : pattern, eightBit, {}, {},
                {});
    }
    void opening()
    {
        auto [picture, points, shown, raw, range]
            = fetch<QImage, Points, Rgbs, Values, DisplayRange>("picture", "points", "shown", "raw", "range");
        const QString fileName = QTest::currentDataTag();
        ShownFrame w(iniPath());
        QVERIFY(!w.enabled(ID_DISPLAY_RANGE));
        const QString path = open(w, dir.path(), fileName, picture);
        QCOMPARE(w.prompts.messages, QStringList());
        const QImage& frame = w.doc().FrameBuffer.image();
        if (shown.isEmpty()) {
            const QImage decoded = QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(frame, decoded);
            for (const QPoint& p : points)
                raw << luma(decoded.pixel(p));
        } else {
            QCOMPARE(frame.size(), picture.size() - (fileName == "bordered.png" ? QSize(2, 2) : QSize(0, 0)));
            for (int i = 0; i < points.size(); ++i)
                QCOMPARE(frame.pixel(points[i]) | 0xff000000u, shown[i]);
            QCOMPARE(w.doc().displayRange(), range);
        }
        QCOMPARE(w.enabled(ID_DISPLAY_RANGE), !shown.isEmpty());
        QCOMPARE(readouts(w, points), raw);
        // The profile shows the pixels: the mean of rows 0 and 1 at its start.
        w.key(Qt::Key_X);
        w.lay(Qt::Key_H, { 1, 0 }, { 5, 0 });
        QCOMPARE(w.frame.histogram(true).samples()[0], (luma(frame.pixel(0, 0)) + luma(frame.pixel(0, 1))) / 2);
    }

    // The dialog's fields, Auto, Full, OK and Cancel: the picture follows
    // the fields, OK applies (one step, undone and redone by the keys),
    // Cancel restores, wrong limits are refused with a message.
    void displayRangeDialog_data()
    {
        // Grey at the probe (sample 100 of the ramp) when the dialog closes, and after; rows named
        // "all equal" open a picture whose samples are all 3000.
        columns<bool, QStringList, int, int, DisplayRange>("allEqual", "steps", "during", "after", "range");
        const auto row = [](const char* name, const QStringList& steps, int during, int after, DisplayRange range) {
            QTest::newRow(name) << QByteArray(name).startsWith("all equal") << steps << during << after << range;
        };
        // Under Auto (14 … 4081) sample 100 shows 5; under 0 … 255 it shows itself.
        row("Full", { "Full", "OK" }, 0, 0, { 0, 65535 });
        row("the fields stop at 16 bits", { "0 70000", "OK" }, 0, 0, { 0, 65535 });
        row("Auto after Full", { "Full", "Auto", "OK" }, 5, 5, { 14, 4081 });
        // Refused limits leave the picture as the last good ones show it.
        row("the picture follows, Cancel restores", { "0 255", "700 600", "Cancel" }, 100, 5, { 14, 4081 });
        row("equal limits refused, then Cancel", { "500 500", "OK", "Cancel" }, 0, 5, { 14, 4081 });
        row("Minimum above Maximum refused, then OK", { "300 200", "OK", "0 255", "OK" }, 100, 100, { 0, 255 });
        // All samples equal: Auto's equal limits stay mid-grey; other equal limits are refused.
        row("all equal: OK with Auto", { "OK" }, 128, 128, { 3000, 3000 });
        row("all equal: other equal limits refused", { "20 20", "OK", "Cancel" }, 255, 128, { 3000, 3000 });
    }
    void displayRangeDialog()
    {
        auto [allEqual, steps, during, after, range]
            = fetch<bool, QStringList, int, int, DisplayRange>("allEqual", "steps", "during", "after", "range");
        ShownFrame w(iniPath());
        open(w, dir.path(), "picture.png", allEqual ? grey16([](int, int) { return 3000; }) : ramp());
        // The range, and the grey shown at the probe.
        const auto state
            = [&] { return std::pair(w.doc().displayRange(), qRed(w.doc().FrameBuffer.image().pixel(36, 1))); };
        const auto opened = state();
        int seen = -1;
        QList<quint64> bins;
        // A lambda cannot capture a structured binding before C++20.
        const QStringList script = steps;
        w.prompts.displayRangeScript = [&](DisplayRangeEditor& editor) {
            bins = { editor.bins()[0], editor.bins()[128], editor.bins()[255] };
            CDisplayRangeDlg dialog(editor);
            for (const QString& step : script) {
                const QStringList limits = step.split(' ');
                if (limits.size() == 2) {
                    dialog.findChild<QSpinBox*>(QStringLiteral("minimum"))->setValue(limits[0].toInt());
                    dialog.findChild<QSpinBox*>(QStringLiteral("maximum"))->setValue(limits[1].toInt());
                } else if (step == "OK" || step == "Cancel") {
                    const auto button = step == "OK" ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
                    dialog.findChild<QDialogButtonBox*>()->button(button)->click();
                } else {
                    dialog.findChild<QPushButton*>(step.toLower())->click();
                }
            }
            seen = state().second;
            return dialog.result() == QDialog::Accepted;
        };
        QVERIFY(w.enabled(ID_DISPLAY_RANGE));
        w.frame.action(ID_DISPLAY_RANGE)->trigger();
        QCOMPARE(w.prompts.asked, QStringList { "displayRange" });
        // 256 bins over the samples' own span.
        QCOMPARE(bins, allEqual ? (QList<quint64> { 4096, 0, 0 }) : (QList<quint64> { 16, 16, 16 }));
        QCOMPARE(seen, during);
        // An OK that is not the last step was refused: the dialog stayed open.
        const bool refused = steps.indexOf("OK") >= 0 && steps.indexOf("OK") < steps.size() - 1;
        QCOMPARE(w.prompts.messages,
            refused ? QStringList { QStringLiteral("The Minimum must be less than the Maximum.") } : QStringList());
        // A new range is one step: undone, the picture is as it opened.
        QCOMPARE(state(), std::pair(range, after));
        w.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state(), opened);
        w.key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(state(), std::pair(range, after));
    }

    // After a filter or a burn-in the pixels are the picture: no samples, no
    // range, 8-bit readout, until the step is undone. Output (which writes the
    // shown 8-bit view) and borders leave the samples.
    void whatDropsTheSamples_data()
    {
        columns<QStringList, bool, bool>("steps", "keeps", "undone");
        QTest::newRow("Monochrome") << QStringList { "Shift+M" } << false << true;
        QTest::newRow("Edge Enhance") << QStringList { "Shift+E" } << false << true;
        // Saving burns a placed tool in as Burn On does.
        QTest::newRow("Save with a placed tool") << QStringList { "line", "save" } << false << true;
        QTest::newRow("an 8-bit picture opened") << QStringList { "open 8-bit" } << false << false;
        QTest::newRow("Save without a tool") << QStringList { "save" } << true << true;
        QTest::newRow("Photo border") << QStringList { "photo" } << true << true;
    }
    void whatDropsTheSamples()
    {
        auto [steps, keeps, undone] = fetch<QStringList, bool, bool>("steps", "keeps", "undone");
        ShownFrame w(iniPath());
        open(w, dir.path(), "ramp.tif", ramp());
        const QImage opened = w.doc().FrameBuffer.image().copy();
        for (const QString& step : steps) {
            if (step == "line") {
                w.lay(Qt::Key_L, { 10, 10 }, { 50, 10 });
            } else if (step == "save") {
                // What is shown is written, tagged as always.
                w.prompts.saveFileAnswer = dir.filePath(QStringLiteral("saved.tif"));
                w.frame.action(ID_FILE_SAVE)->trigger();
                const QImage saved = QImageReader(w.prompts.saveFileAnswer).read();
                QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), w.doc().BackBuffer.image());
                QCOMPARE(ImageTags::readFile(w.prompts.saveFileAnswer).software, QStringLiteral("Scopique"));
            } else if (step == "open 8-bit") {
                open(w, dir.path(), "eight.png", TestImages::pattern(64, 64));
            } else if (step == "photo") {
                w.frame.action(ID_BORDER_PHOTO)->trigger();
            } else {
                const QKeyCombination keys = QKeySequence(step)[0];
                w.key(keys.key(), keys.keyboardModifiers());
            }
        }
        const QPoint at(36, 30);
        for (const bool raw : { keeps, undone }) {
            QCOMPARE(w.enabled(ID_DISPLAY_RANGE), raw);
            const QRgb shown = w.doc().FrameBuffer.image().pixel(at);
            QCOMPARE(readouts(w, { at }), Values { raw ? 36 + 64 * 30 : luma(shown) });
            // Undoing the step that dropped the samples brings them back.
            w.key(Qt::Key_X);
            w.key(Qt::Key_Z, Qt::ControlModifier);
        }
        if (undone && !keeps)
            QCOMPARE(w.doc().FrameBuffer.image(), opened);
    }

    // Large pictures take Auto's quick way and the row bands; both give what
    // the plain rules give, at any width and for grey and colour.
    void largePictures_data()
    {
        // Auto's range where the row gives it.
        columns<QImage, DisplayRange>("picture", "range");
        std::mt19937 random(17);
        const QSize large(1001, 1003);
        const auto noise = [&](int, int) { return int(random() % 4096); };
        const DisplayRange any { -1, -1 };
        QTest::newRow("colour noise") << grey16(noise, large, QImage::Format_RGBX64) << any;
        // A third of the samples at 0 and some at 65535: ties at both ends.
        const auto plateaus = [](int x, int y) { return x < 333 ? 0 : x > 990 ? 65535 : 1000 + (x * 7 + y) % 3000; };
        QTest::newRow("plateaus at the ends") << grey16(plateaus, large) << DisplayRange { 0, 65535 };
        const auto hotAndDead = [](int x, int y) {
            return (x * 31 + y) % 997 == 0 ? 65535 : (x + y * 13) % 1009 == 0 ? 0 : 2000 + (x + y) % 100;
        };
        QTest::newRow("hot and dead pixels") << grey16(hotAndDead, large) << any;
        QTest::newRow("two values") << grey16([](int x, int) { return 1000 + x % 2; }, large)
                                    << DisplayRange { 1000, 1001 };
        const auto flat = [](int, int) { return 777; };
        QTest::newRow("all equal") << grey16(flat, large, QImage::Format_RGBX64) << DisplayRange { 777, 777 };
        // Every 16th row spans the scale, the others hold one value.
        const auto misleading = [](int x, int y) { return y % 16 == 0 ? x * 65 : 30000; };
        QTest::newRow("rows that mislead a sample of rows")
            << grey16(misleading, large) << DisplayRange { 3575, 61425 };
        QTest::newRow("odd width, few rows") << grey16(noise, QSize(1003, 7), QImage::Format_RGBX64) << any;
    }
    void largePictures()
    {
        QFETCH(QImage, picture);
        QFETCH(DisplayRange, range);
        const DisplayRange automatic = SampleMapper::autoRange(picture);
        QCOMPARE(automatic, SampleMapper::autoRange(SampleMapper::histogram(picture)));
        if (range.minimum >= 0)
            QCOMPARE(automatic, range);
        const bool colour = picture.format() == QImage::Format_RGBX64;
        const DisplayRange chosen { 300, 3700 };
        const QImage plain = TestImages::made(picture.size(), [&](int x, int y) {
            const auto* p = reinterpret_cast<const quint16*>(picture.constScanLine(y)) + (colour ? 4 * x : x);
            const auto mapped = [&](int i) { return SampleMapper::displayed(p[colour ? i : 0], chosen); };
            return qRgb(mapped(0), mapped(1), mapped(2));
        });
        for (const int bands : { 1, 3, 0 }) {
            QImage frame;
            SampleMapper::map(picture, chosen, frame, bands);
            QCOMPARE(frame, plain);
        }
    }
};

QTEST_MAIN(TestDisplayRange)
#include "tst_displayrange.moc"
