// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
// Pictures of 16 bits per sample: shown through a display range, read out
// raw, the range chosen in "Display Range", and everything that turns the
// shown pixels into the picture.
#include <functional>
#include <random>

#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/StatusPanes.h"
#include "core/document/DisplayRangeEditor.h"
#include "core/video/ImageTags.h"
#include "core/video/SampleMapper.h"
#include "ui/video/CDisplayRangeDlg.h"

using Points = QList<QPoint>;
using Values = QList<int>;
using Rgbs = QList<QRgb>;
// What the user does in the Display Range dialog; true for OK.
using Script = std::function<bool(DisplayRangeEditor&)>;
using Action = std::function<void(ShownFrame&, const QString& dir)>;
Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(Action)

namespace {

// 64 x 64 samples, `value` of each pixel.
QImage grey16(const std::function<int(int x, int y)>& value, QSize size = QSize(64, 64))
{
    QImage image(size, QImage::Format_Grayscale16);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            reinterpret_cast<quint16*>(image.scanLine(y))[x] = quint16(value(x, y));
    return image;
}

// A 12-bit ramp: 0 … 4095 row after row.
QImage ramp()
{
    return grey16([](int x, int y) { return x + 64 * y; });
}

// 1000 … 2023, each value four times.
QImage plateaus(bool hotPixel)
{
    return grey16([hotPixel](int x, int y) { return hotPixel && x == 5 && y == 5 ? 65535 : 1000 + (x + 64 * y) / 4; });
}

QImage flat(int value)
{
    return grey16([value](int, int) { return value; });
}

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

QRgb grey(int v)
{
    return qRgb(v, v, v);
}

// The picture as File ▸ Open opens it.
void open(ShownFrame& w, const QString& path)
{
    w.prompts.openFileAnswer = path;
    w.frame.action(ID_FILE_OPEN)->trigger();
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

// The first value of the profile along row 0, once a Horizontal lies there.
int profileStart(ShownFrame& w)
{
    w.key(Qt::Key_X);
    w.key(Qt::Key_H);
    w.mouse(QTest::MousePress, { 1, 0 });
    w.mouse(QTest::MouseMove, { 5, 0 });
    w.mouse(QTest::MouseRelease, { 5, 0 });
    return w.frame.histogram(true).samples()[0];
}

int luma(QRgb c)
{
    return (qRed(c) + qGreen(c) + qBlue(c)) / 3;
}

Rgbs pixels(const QImage& image, const Points& points)
{
    Rgbs found;
    for (const QPoint& p : points)
        found << (image.pixel(p) | 0xff000000u);
    return found;
}

bool enabled(ShownFrame& w, int id)
{
    QCoreApplication::processEvents();
    return w.frame.action(id)->isEnabled();
}

} // namespace

class TestDisplayRange : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    // Opened through Auto: the pixels, the range, the raw readout; the
    // command only for pictures that have samples.
    void opening_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Points>("points");
        QTest::addColumn<Rgbs>("shown");
        QTest::addColumn<Values>("raw");
        QTest::addColumn<int>("autoMinimum");
        QTest::addColumn<int>("autoMaximum");
        QTest::addColumn<int>("levels");
        const Points rampPoints { { 0, 0 }, { 14, 0 }, { 0, 32 }, { 17, 63 }, { 63, 63 } };
        const Rgbs rampShown { grey(0), grey(0), grey(128), grey(253), grey(255) };
        const Values rampRaw { 0, 14, 2048, 4049, 4095 };
        // 0.35 % of 4096 samples: the 14 lowest and highest are left out.
        QTest::newRow("12-bit ramp, PNG")
            << ramp() << "ramp.png" << rampPoints << rampShown << rampRaw << 14 << 4081 << 256;
        QTest::newRow("12-bit ramp, TIFF")
            << ramp() << "ramp.tif" << rampPoints << rampShown << rampRaw << 14 << 4081 << 256;
        const Points plateauPoints { { 0, 0 }, { 0, 32 }, { 63, 63 }, { 5, 5 } };
        QTest::newRow("plateaus") << plateaus(false) << "plateaus.png" << plateauPoints
                                  << Rgbs { grey(0), grey(128), grey(255), grey(20) }
                                  << Values { 1000, 1512, 2023, 1081 } << 1003 << 2020 << 256;
        // The same range: only the hot pixel itself shows otherwise.
        QTest::newRow("plateaus and a hot pixel")
            << plateaus(true) << "hot.tif" << plateauPoints << Rgbs { grey(0), grey(128), grey(255), grey(255) }
            << Values { 1000, 1512, 2023, 65535 } << 1003 << 2020 << 256;
        for (const int v : { 0, 3000, 65535 })
            QTest::newRow(qPrintable(QStringLiteral("all %1").arg(v)))
                << flat(v) << QStringLiteral("flat%1.png").arg(v) << Points { { 0, 0 }, { 63, 63 } }
                << Rgbs { grey(128), grey(128) } << Values { v, v } << v << v << 1;
        // One range for the three channels; the readout is their mean, rounded down.
        const Points colourPoints { { 0, 0 }, { 10, 0 }, { 63, 63 } };
        const Rgbs colourShown { qRgb(0, 128, 255), qRgb(13, 128, 255), qRgb(80, 128, 175) };
        QTest::newRow("colour, PNG") << colour16(false) << "colour.png" << colourPoints << colourShown
                                     << Values { 2000, 2033, 2000 } << 1000 << 3000 << -1;
        QTest::newRow("colour, TIFF") << colour16(false) << "colour.tif" << colourPoints << colourShown
                                      << Values { 2000, 2033, 2000 } << 1000 << 3000 << -1;
        QTest::newRow("colour with a transparent pixel") << colour16(true) << "alpha.png" << colourPoints
                                                         << Rgbs { qRgb(0, 0, 0), qRgb(13, 128, 255), colourShown[2] }
                                                         << Values { 0, 2033, 2000 } << 1000 << 3000 << -1;
        // 642 wide: the one-pixel border of the width rule comes off the samples too.
        const QImage bordered
            = grey16([](int x, int y) { return x == 0 || y == 0 || x == 641 || y == 481 ? 65535 : 2000 + x % 100; },
                QSize(642, 482));
        QTest::newRow("bordered") << bordered << "bordered.png" << Points { { 99, 0 }, { 98, 0 } }
                                  << Rgbs { grey(0), grey(255) } << Values { 2000, 2099 } << 2000 << 2099 << -1;
    }
    void opening()
    {
        QFETCH(QImage, picture);
        QFETCH(QString, fileName);
        QFETCH(Points, points);
        QFETCH(Rgbs, shown);
        QFETCH(Values, raw);
        QFETCH(int, autoMinimum);
        QFETCH(int, autoMaximum);
        QFETCH(int, levels);
        ShownFrame w(iniPath());
        QVERIFY(!enabled(w, ID_DISPLAY_RANGE));
        open(w, TestImages::write(dir.path(), fileName, picture));
        QCOMPARE(w.prompts.messages, QStringList());
        const QImage& frame = w.doc().FrameBuffer.image();
        QCOMPARE(frame.size(), picture.size() - (fileName == "bordered.png" ? QSize(2, 2) : QSize(0, 0)));
        QCOMPARE(pixels(frame, points), shown);
        QCOMPARE(w.doc().displayRange(), (DisplayRange { autoMinimum, autoMaximum }));
        if (levels > 0) {
            QSet<QRgb> seen;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    seen.insert(frame.pixel(x, y));
            QCOMPARE(seen.size(), levels);
        }
        QVERIFY(enabled(w, ID_DISPLAY_RANGE));
        QCOMPARE(readouts(w, points), raw);
        // The profile shows the pixels: the mean of rows 0 and 1 at its start.
        QCOMPARE(profileStart(w), (luma(frame.pixel(0, 0)) + luma(frame.pixel(0, 1))) / 2);
    }

    // 8-bit pictures open, show and read out exactly as Qt decodes them,
    // and have no range to choose.
    void eightBitPicturesAsBefore_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QString>("fileName");
        const QImage pattern = TestImages::pattern(64, 48);
        for (const char* name : { "p.png", "p.jpg", "p.bmp", "p.tif" })
            QTest::newRow(name) << pattern << name;
        QTest::newRow("grey PNG") << pattern.convertToFormat(QImage::Format_Grayscale8) << "g.png";
        QTest::newRow("grey TIFF") << pattern.convertToFormat(QImage::Format_Grayscale8) << "g.tif";
    }
    void eightBitPicturesAsBefore()
    {
        QFETCH(QImage, picture);
        QFETCH(QString, fileName);
        const QString path = TestImages::write(dir.path(), fileName, picture);
        const QImage decoded = QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
        ShownFrame w(iniPath());
        open(w, path);
        QCOMPARE(w.doc().FrameBuffer.image(), decoded);
        QVERIFY(!enabled(w, ID_DISPLAY_RANGE));
        const Points points { { 0, 0 }, { 33, 17 }, { 63, 47 } };
        Values lumas;
        for (const QPoint& p : points) {
            lumas << luma(decoded.pixel(p));
        }
        QCOMPARE(readouts(w, points), lumas);
    }

    // The dialog through the prompt interface: the picture follows, OK
    // applies, Cancel restores, wrong limits are refused with a message.
    void displayRangeDialog_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<Script>("script");
        // Grey at the probe (sample 100 of the ramp) when the dialog closes, and after.
        QTest::addColumn<int>("during");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QStringList>("messages");
        const QString order = QStringLiteral("The Minimum must be less than the Maximum.");
        // Under Auto (14 … 4081) sample 100 shows 5; under 0 … 255 it shows itself.
        QTest::newRow("OK with 0 to 255") << ramp() << Script([](DisplayRangeEditor& e) { return e.accept(0, 255); })
                                          << 100 << 100 << 0 << 255 << QStringList();
        QTest::newRow("Full") << ramp() << Script([](DisplayRangeEditor& e) {
            return e.accept(DisplayRangeEditor::fullRange().minimum, DisplayRangeEditor::fullRange().maximum);
        }) << 0 << 0 << 0 << 65535
                              << QStringList();
        QTest::newRow("Auto after Full") << ramp() << Script([](DisplayRangeEditor& e) {
            e.show(0, 65535);
            return e.accept(e.autoRange().minimum, e.autoRange().maximum);
        }) << 5 << 5 << 14 << 4081 << QStringList();
        QTest::newRow("the picture follows, Cancel restores") << ramp() << Script([](DisplayRangeEditor& e) {
            e.show(0, 255);
            // Refused limits leave the picture as the last good ones show it.
            e.show(700, 600);
            return false;
        }) << 100 << 5 << 14 << 4081 << QStringList();
        QTest::newRow("equal limits refused, then Cancel") << ramp() << Script([](DisplayRangeEditor& e) {
            e.show(500, 500);
            return e.accept(500, 500);
        }) << 5 << 5 << 14 << 4081 << QStringList { order };
        QTest::newRow("Minimum above Maximum refused, then OK")
            << ramp() << Script([](DisplayRangeEditor& e) { return e.accept(300, 200) || e.accept(0, 255); }) << 100
            << 100 << 0 << 255 << QStringList { order };
        QTest::newRow("limits beyond 16 bits refused")
            << ramp() << Script([](DisplayRangeEditor& e) { return e.accept(-1, 70000); }) << 5 << 5 << 14 << 4081
            << QStringList { QStringLiteral("The Minimum and the Maximum must lie between 0 and 65535.") };
        // All samples equal: Auto's equal limits stay mid-grey; other equal limits are refused.
        QTest::newRow("all equal: OK with Auto")
            << flat(3000) << Script([](DisplayRangeEditor& e) { return e.accept(3000, 3000); }) << 128 << 128 << 3000
            << 3000 << QStringList();
        QTest::newRow("all equal: other equal limits refused")
            << flat(3000) << Script([](DisplayRangeEditor& e) { return e.accept(20, 20); }) << 128 << 128 << 3000
            << 3000 << QStringList { order };
    }
    void displayRangeDialog()
    {
        QFETCH(QImage, picture);
        QFETCH(Script, script);
        QFETCH(int, during);
        QFETCH(int, after);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(QStringList, messages);
        ShownFrame w(iniPath());
        open(w, TestImages::write(dir.path(), QStringLiteral("picture.png"), picture));
        const QPoint probe(36, 1);
        const auto shownAtProbe = [&] { return qRed(w.doc().FrameBuffer.image().pixel(probe)); };
        const DisplayRange opened = w.doc().displayRange();
        const int openedAtProbe = shownAtProbe();
        int seen = -1;
        w.prompts.displayRangeScript = [&](DisplayRangeEditor& editor) {
            const bool ok = script(editor);
            seen = qRed(w.doc().FrameBuffer.image().pixel(probe));
            return ok;
        };
        QVERIFY(enabled(w, ID_DISPLAY_RANGE));
        w.frame.action(ID_DISPLAY_RANGE)->trigger();
        QCOMPARE(w.prompts.asked, QStringList { "displayRange" });
        QCOMPARE(seen, during);
        QCOMPARE(w.prompts.messages, messages);
        // A new range is one step: undone, the picture is as it opened.
        for (const auto& [keys, range, shown] : { std::tuple(QKeySequence(), DisplayRange { minimum, maximum }, after),
                 std::tuple(QKeySequence(Qt::CTRL | Qt::Key_Z), opened, openedAtProbe),
                 std::tuple(QKeySequence(Qt::CTRL | Qt::Key_Y), DisplayRange { minimum, maximum }, after) }) {
            if (!keys.isEmpty())
                w.key(keys[0].key(), keys[0].keyboardModifiers());
            QCOMPARE(w.doc().displayRange(), range);
            QCOMPARE(shownAtProbe(), shown);
        }
    }

    // The dialog itself: its fields drive the picture, Auto and Full fill
    // them, OK refuses wrong limits and stays open.
    void dialogWidgets()
    {
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        ImageDocument doc(settings, prompts, log);
        QVERIFY(doc.LoadImageFile(TestImages::write(dir.path(), QStringLiteral("ramp.png"), ramp())));
        DisplayRangeEditor editor(doc, prompts);
        QCOMPARE(editor.lowestSample(), 0);
        QCOMPARE(editor.highestSample(), 4095);
        QCOMPARE(editor.bins()[0], 16u);
        QCOMPARE(editor.bins()[255], 16u);
        CDisplayRangeDlg dialog(editor);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* minimum = dialog.findChild<QSpinBox*>(QStringLiteral("minimum"));
        auto* maximum = dialog.findChild<QSpinBox*>(QStringLiteral("maximum"));
        QCOMPARE(minimum->value(), 14);
        QCOMPARE(maximum->value(), 4081);
        const auto probe = [&] { return qRed(doc.FrameBuffer.image().pixel(36, 1)); };
        maximum->setValue(255);
        minimum->setValue(0);
        QCOMPARE(probe(), 100);
        dialog.findChild<QPushButton*>(QStringLiteral("full"))->click();
        QCOMPARE((QList<int> { minimum->value(), maximum->value() }), (QList<int> { 0, 65535 }));
        QCOMPARE(probe(), 0);
        dialog.findChild<QPushButton*>(QStringLiteral("auto"))->click();
        QCOMPARE((QList<int> { minimum->value(), maximum->value() }), (QList<int> { 14, 4081 }));
        QCOMPARE(probe(), 5);
        minimum->setValue(4081);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(prompts.messages.size(), 1);
        minimum->setValue(0);
        maximum->setValue(255);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc.displayRange(), (DisplayRange { 0, 255 }));
    }

    // After a filter or a burn-in the pixels are the picture: no samples, no
    // range, 8-bit readout. Output and borders leave the samples.
    void whatDropsTheSamples_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("keeps");
        QTest::addColumn<bool>("undone");
        const auto layLine = [](ShownFrame& w) {
            w.key(Qt::Key_L);
            w.mouse(QTest::MousePress, { 10, 10 });
            w.mouse(QTest::MouseMove, { 50, 10 });
            w.mouse(QTest::MouseRelease, { 50, 10 });
        };
        QTest::newRow("Monochrome") << Action([](ShownFrame& w, const QString&) {
            w.key(Qt::Key_M, Qt::ShiftModifier);
        }) << false << true;
        QTest::newRow("Edge Enhance") << Action([](ShownFrame& w, const QString&) {
            w.key(Qt::Key_E, Qt::ShiftModifier);
        }) << false << true;
        QTest::newRow("Burn On") << Action([layLine](ShownFrame& w, const QString&) {
            layLine(w);
            w.key(Qt::Key_B);
        }) << false << true;
        QTest::newRow("Save with a placed tool") << Action([layLine](ShownFrame& w, const QString& dir) {
            layLine(w);
            w.prompts.saveFileAnswer = dir + QStringLiteral("/burnt.png");
            w.frame.action(ID_FILE_SAVE)->trigger();
        }) << false << true;
        QTest::newRow("an 8-bit picture opened") << Action([](ShownFrame& w, const QString& dir) {
            open(w, TestImages::write(dir, QStringLiteral("eight.png"), TestImages::pattern(64, 64)));
        }) << false << false;
        QTest::newRow("Save without a tool") << Action([](ShownFrame& w, const QString& dir) {
            w.prompts.saveFileAnswer = dir + QStringLiteral("/plain.png");
            w.frame.action(ID_FILE_SAVE)->trigger();
        }) << true << true;
        QTest::newRow("Photo border") << Action([](ShownFrame& w, const QString&) {
            w.frame.action(ID_BORDER_PHOTO)->trigger();
        }) << true << true;
    }
    void whatDropsTheSamples()
    {
        QFETCH(Action, action);
        QFETCH(bool, keeps);
        QFETCH(bool, undone);
        ShownFrame w(iniPath());
        open(w, TestImages::write(dir.path(), QStringLiteral("ramp.tif"), ramp()));
        const QImage opened = w.doc().FrameBuffer.image().copy();
        action(w, dir.path());
        const QPoint at(36, 30);
        for (const bool raw : { keeps, undone }) {
            QCOMPARE(enabled(w, ID_DISPLAY_RANGE), raw);
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
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        std::mt19937 random(17);
        const auto picture = [&](QImage::Format format, QSize size, const std::function<int(int x, int y)>& value) {
            QImage image(size, format);
            const int channels = format == QImage::Format_Grayscale16 ? 1 : 4;
            for (int y = 0; y < size.height(); ++y)
                for (int i = 0; i < size.width() * channels; ++i)
                    reinterpret_cast<quint16*>(image.scanLine(y))[i]
                        = quint16(channels == 4 && i % 4 == 3 ? 0xffff : value(i / channels, y));
            return image;
        };
        const QSize large(1001, 1003);
        const auto noise = [&](int, int) { return int(random() % 4096); };
        QTest::newRow("12-bit noise") << picture(QImage::Format_Grayscale16, large, noise) << -1 << -1;
        QTest::newRow("colour noise") << picture(QImage::Format_RGBX64, large, noise) << -1 << -1;
        // A third of the samples at 0 and some at 65535: ties at both ends.
        QTest::newRow("plateaus at the ends") << picture(QImage::Format_Grayscale16, large, [&](int x, int y) {
            return x < 333 ? 0 : x > 990 ? 65535 : 1000 + (x * 7 + y) % 3000;
        }) << 0 << 65535;
        QTest::newRow("hot and dead pixels") << picture(QImage::Format_Grayscale16, large, [&](int x, int y) {
            return (x * 31 + y) % 997 == 0 ? 65535 : (x + y * 13) % 1009 == 0 ? 0 : 2000 + (x + y) % 100;
        }) << -1 << -1;
        QTest::newRow("two values") << picture(QImage::Format_Grayscale16, large, [&](int x, int) {
            return 1000 + x % 2;
        }) << 1000 << 1001;
        QTest::newRow("all equal") << picture(QImage::Format_RGBX64, large, [&](int, int) { return 777; }) << 777
                                   << 777;
        // Every 16th row spans the scale, the others hold one value.
        QTest::newRow("rows that mislead a sample of rows")
            << picture(QImage::Format_Grayscale16, large, [&](int x, int y) { return y % 16 == 0 ? x * 65 : 30000; })
            << 3575 << 61425;
        QTest::newRow("odd width, few rows") << picture(QImage::Format_RGBX64, QSize(1003, 7), noise) << -1 << -1;
    }
    void largePictures()
    {
        QFETCH(QImage, picture);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        const DisplayRange automatic = SampleMapper::autoRange(picture);
        QCOMPARE(automatic, SampleMapper::autoRange(SampleMapper::histogram(picture)));
        if (minimum >= 0)
            QCOMPARE(automatic, (DisplayRange { minimum, maximum }));
        const bool colour = picture.format() == QImage::Format_RGBX64;
        const DisplayRange range { 300, 3700 };
        QImage plain(picture.size(), QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const auto* p = reinterpret_cast<const quint16*>(picture.constScanLine(y)) + (colour ? 4 * x : x);
                const auto shown = [&](int i) { return SampleMapper::displayed(p[colour ? i : 0], range); };
                plain.setPixel(x, y, qRgb(shown(0), shown(1), shown(2)));
            }
        for (const int bands : { 1, 3, 0 }) {
            QImage frame;
            SampleMapper::map(picture, range, frame, bands);
            QCOMPARE(frame, plain);
        }
    }

    // Saving writes what is shown: the 8-bit view, tagged as always.
    void savingWritesTheShownPicture_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("png") << "saved.png";
        QTest::newRow("tif") << "saved.tif";
    }
    void savingWritesTheShownPicture()
    {
        QFETCH(QString, fileName);
        ShownFrame w(iniPath());
        open(w, TestImages::write(dir.path(), QStringLiteral("colour.tif"), colour16(false)));
        w.prompts.displayRangeScript = [](DisplayRangeEditor& editor) { return editor.accept(1000, 1255); };
        QVERIFY(enabled(w, ID_DISPLAY_RANGE));
        w.frame.action(ID_DISPLAY_RANGE)->trigger();
        w.frame.action(ID_BORDER_THIN)->trigger();
        w.prompts.saveFileAnswer = dir.filePath(fileName);
        w.frame.action(ID_FILE_SAVE)->trigger();
        const QImage saved = QImageReader(w.prompts.saveFileAnswer).read().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved, w.doc().BackBuffer.image());
        // Red 1000 + 10x shows x × 10 through 1000 … 1255; green and blue are beyond it.
        QCOMPARE(saved.pixel(1 + 10, 1), qRgb(100, 255, 255));
        const ImageTags tags = ImageTags::readFile(w.prompts.saveFileAnswer);
        QCOMPARE(tags.software, std::optional<QString>(QStringLiteral("Scopique")));
        QCOMPARE(tags.make, std::optional<QString>(QStringLiteral("1")));
        // Reopened, it is an 8-bit picture with the same pixels.
        open(w, w.prompts.saveFileAnswer);
        QVERIFY(!enabled(w, ID_DISPLAY_RANGE));
        QCOMPARE(w.doc().FrameBuffer.image().pixel(10, 0), qRgb(100, 255, 255));
    }
};

QTEST_MAIN(TestDisplayRange)
#include "tst_displayrange.moc"
