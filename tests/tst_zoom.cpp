// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QtTest>
#include <QtWidgets>

#include "DataRows.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/StatusPanes.h"
#include "core/video/ViewScale.h"

using Keys = QList<int>;

namespace {

// Key combinations as data rows carry them.
int plus = Qt::Key_Plus, minus = Qt::Key_Minus;

constexpr QRgb black = 0xff000000, white = 0xffffffff, yellow = 0xffffff00;

// The shown frame, zoomed by the user's keys.
struct Window : ShownFrame {
    using ShownFrame::ShownFrame;
    CImagePane& pane() { return frame.imagePane(); }
    double scale() { return video().scale(); }
    void press(const Keys& keys)
    {
        for (int combined : keys) {
            const QKeyCombination key = QKeyCombination::fromCombined(combined);
            ShownFrame::key(key.key(), key.keyboardModifiers());
        }
        QCoreApplication::processEvents();
    }
    // Takes what the visible part of the Video Window shows; pixel() reads it.
    void grab()
    {
        QCoreApplication::processEvents();
        grabbed = video().visibleRegion().boundingRect();
        picture = video().grab(grabbed).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRgb pixel(QPoint client) const { return picture.pixel(client - grabbed.topLeft()); }
    QRect grabbed;
    QImage picture;
};

} // namespace

class TestZoom : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    void stepsAndTheirLimits_data()
    {
        columns<Keys, double, QString, bool, bool>("keys", "scale", "pane", "zoomIn", "zoomOut");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("at start") << Keys {} << 1.0 << "Zoom=100%" << true << true;
        QTest::newRow("+") << Keys { plus } << 1.5 << "Zoom=150%" << true << true;
        QTest::newRow("= and Ctrl++") << Keys { Qt::Key_Equal, ctrl | plus } << 2.0 << "Zoom=200%" << true << true;
        QTest::newRow("- and Ctrl+-") << Keys { minus, ctrl | minus, plus } << 2.0 / 3 << "Zoom=67%" << true << true;
        QTest::newRow("down to 1/16, no further") << Keys(9, minus) << 1.0 / 16 << "Zoom=6%" << true << false;
        QTest::newRow("up to 32, no further") << Keys(11, plus) << 32.0 << "Zoom=3200%" << false << true;
        QTest::newRow("1 gives pixels back")
            << Keys { plus, plus, minus, Qt::Key_1 } << 1.0 << "Zoom=100%" << true << true;
    }
    void stepsAndTheirLimits()
    {
        const auto [keys, scale] = fetch<Keys, double>("keys", "scale");
        Window w(iniPath());
        w.press(keys);
        QCOMPARE(w.scale(), scale);
        QCOMPARE(w.video().size(), ViewScale::shownSize(QSize(680, 520), scale));
        QTEST(w.frame.statusPane(ID_INDICATOR_ZOOM)->text(), "pane");
        QTEST(w.enabled(ID_VIEW_ZOOM_IN), "zoomIn");
        QTEST(w.enabled(ID_VIEW_ZOOM_OUT), "zoomOut");
    }

    // The image point under the pointer stays there: exactly when zooming in,
    // within the pixels one screen pixel covers when zooming out.
    void ctrlWheelZoomsAboutThePointer_data()
    {
        columns<int, int, double>("notches", "modifiers", "scale");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl, a notch up") << 1 << ctrl << 1.5;
        QTest::newRow("Ctrl, a notch down") << -1 << ctrl << 2.0 / 3;
        QTest::newRow("the wheel alone scrolls") << -1 << int(Qt::NoModifier) << 1.0;
    }
    void ctrlWheelZoomsAboutThePointer()
    {
        const auto [notches, modifiers, scale] = fetch<int, int, double>("notches", "modifiers", "scale");
        Window w(iniPath());
        w.doc().AllocateFrameBuffer(2000, 1500);
        QCoreApplication::processEvents();
        const QPoint image(1033, 711);
        const QPoint at = w.onWindow(image);
        w.wheel(at, notches, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.scale(), scale);
        const QPoint under = w.video().toImage(w.video().mapFrom(&w.frame, at));
        if (modifiers == Qt::NoModifier) {
            QCOMPARE(under, image + QPoint(0, 60));
        } else {
            const int reach = scale >= 1 ? 0 : 1;
            QVERIFY2(qAbs(under.x() - image.x()) <= reach && qAbs(under.y() - image.y()) <= reach,
                qPrintable(QStringLiteral("%1, %2").arg(under.x()).arg(under.y())));
        }
    }

    // A line laid at a zoom spans the image pixels under the pointer. A handle is then in reach within 3
    // screen pixels, and never less than 3 image pixels.
    void pointerReachesImagePixels_data()
    {
        columns<Keys, QPoint, QPoint, QPoint, int, bool>(
            "keys", "from", "screenStep", "imageStep", "offset", "grabbed");
        const auto row
            = [](const char* name, Keys keys, QPoint from, QPoint screen, QPoint image, int offset, bool grabbed) {
                  QTest::newRow(name) << keys << from << screen << image << offset << grabbed;
              };
        row("1:1, 3 off", {}, { 100, 240 }, { 100, 0 }, { 100, 0 }, 3, true);
        row("1:1, 4 off", {}, { 100, 240 }, { 100, 0 }, { 100, 0 }, 4, false);
        row("1/4: 100 screen pixels are 400, 3 off", Keys(4, minus), { 100, 240 }, { 100, 0 }, { 400, 0 }, 3, true);
        row("1.5x", { plus }, { 300, 240 }, { 30, -15 }, { 20, -10 }, 0, true);
        row("8x: 80 screen pixels are 10, 3 image pixels off", Keys(6, plus), { 320, 240 }, { 80, 40 }, { 10, 5 }, 24,
            true);
        row("8x, 4 image pixels off", Keys(6, plus), { 320, 240 }, { 80, 40 }, { 10, 5 }, 32, false);
    }
    void pointerReachesImagePixels()
    {
        const auto [keys, from, screenStep, imageStep, offset, grabbed]
            = fetch<Keys, QPoint, QPoint, QPoint, int, bool>(
                "keys", "from", "screenStep", "imageStep", "offset", "grabbed");
        Window w(iniPath());
        w.press(keys);
        w.key(Qt::Key_L);
        const QPoint start = w.onWindow(from);
        w.mouseOnWindow(QTest::MousePress, start);
        w.mouseOnWindow(QTest::MouseMove, start + screenStep);
        w.mouseOnWindow(QTest::MouseRelease, start + screenStep);
        const CTool& line = *w.tool();
        const QPoint end = line.points[2], begin = line.points[1];
        QCOMPARE(end - begin, imageStep);
        QVERIFY(qAbs(begin.x() - from.x()) < 4);

        const QPoint handle = w.onWindow(end) + QPoint(offset, 0);
        w.mouseOnWindow(QTest::MousePress, handle);
        w.mouseOnWindow(QTest::MouseMove, handle + QPoint(0, 16));
        w.mouseOnWindow(QTest::MouseRelease, handle + QPoint(0, 16));
        QCOMPARE(w.tool()->points[1], begin);
        QCOMPARE(w.tool()->points[2] != end, grabbed);
    }

    // What the view shows at a zoom.
    void pixelsAsShown()
    {
        Window w(iniPath());
        // One-pixel stripes: even columns black, odd ones white.
        QImage& image = w.doc().FrameBuffer.image();
        for (int x = 0; x < image.width(); x += 2)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, black);

        // Enlarged, each image pixel is a sharp square: bands 8 pixels wide.
        w.press(Keys(6, plus));
        w.grab();
        const QPoint left = w.video().toClient({ 320, 240 }) - QPoint(4, 0);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(w.pixel(left + QPoint(i, 0)), (i / 8) % 2 ? white : black);

        // Zoomed far out a one-pixel line still shows, and the handles keep their size on screen.
        w.doc().FrameBuffer.image().fill(Qt::white);
        w.press(Keys { Qt::Key_1 });
        w.lay(Qt::Key_L, { 40, 200 }, { 560, 200 });
        w.press(Keys(9, minus));
        QCOMPARE(w.scale(), 1.0 / 16);
        w.grab();
        const QPoint from = w.video().toClient({ 40, 200 });
        const QPoint end = w.video().toClient({ 560, 200 });
        for (int x = from.x() + 4; x < end.x() - 3; ++x)
            QCOMPARE(w.pixel({ x, end.y() }), black);
        // The 7 x 7 outline around the end, the picture inside it.
        for (const QPoint& outline : { QPoint(-3, 0), QPoint(-3, -3), QPoint(0, 3), QPoint(3, 3) })
            QCOMPARE(w.pixel(end + outline), yellow);
        QCOMPARE(w.pixel(end + QPoint(-1, -1)), white);
    }

    void fitLargeIsRemembered_data()
    {
        columns<int, bool, bool>("stored", "toggle", "fitLarge"); // stored: -1 for none
        QTest::newRow("on at first") << -1 << false << true;
        QTest::newRow("turned off") << -1 << true << false;
    }
    void fitLargeIsRemembered()
    {
        const auto [stored, toggle, fitLarge] = fetch<int, bool, bool>("stored", "toggle", "fitLarge");
        if (stored >= 0)
            SettingsStore(iniPath()).writeInt(QStringLiteral("View"), QStringLiteral("FitLarge"), stored);
        Window w(iniPath());
        QCoreApplication::processEvents();
        QCOMPARE(w.frame.action(ID_VIEW_FIT_LARGE)->isChecked(), stored != 0);
        if (toggle)
            w.frame.action(ID_VIEW_FIT_LARGE)->trigger();
        QCOMPARE(w.settings.readInt(QStringLiteral("View"), QStringLiteral("FitLarge"), -1),
            toggle ? int(fitLarge) : stored);
        QCOMPARE(w.enabled(ID_VIEW_FIT_LARGE) && w.frame.action(ID_VIEW_FIT_LARGE)->isChecked(), fitLarge);
        // A large picture opens fitted, or pixel for pixel; a small one always 1:1. Centred, overhanging both sides
        // alike when larger.
        for (const QSize size : { QSize(2001, 1501), QSize(300, 200) }) {
            w.press(Keys { plus });
            const QString path = TestImages::write(
                dir.path(), QStringLiteral("opened.png"), TestImages::pattern(size.width(), size.height()));
            w.frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
            QCoreApplication::processEvents();
            QCOMPARE(w.frame.windowTitle(), QStringLiteral("Scopique Pro - opened.png"));
            const QSize port = w.pane().viewport()->size();
            const bool fitted = fitLarge && size.width() > 1000, scrolls = !fitted && size.width() > 1000;
            const double scale
                = fitted ? qMin(double(port.width()) / size.width(), double(port.height()) / size.height()) : 1.0;
            QCOMPARE(w.scale(), scale);
            const QSize shown = ViewScale::shownSize(size, scale);
            QCOMPARE(w.video().size(), shown);
            QVERIFY(scale == 1 || shown.width() == port.width() || shown.height() == port.height());
            QCOMPARE(w.pane().horizontalScrollBar()->isVisible(), scrolls);
            QCOMPARE(w.pane().verticalScrollBar()->isVisible(), scrolls);
            QCOMPARE(w.video().pos(), QPoint((port.width() - shown.width()) / 2, (port.height() - shown.height()) / 2));
            if (scrolls) {
                // Fit to Window shows it whole.
                w.key(Qt::Key_F);
                const QSize all = w.pane().viewport()->size();
                QCOMPARE(w.scale(), qMin(double(all.width()) / size.width(), double(all.height()) / size.height()));
                QVERIFY(!w.pane().horizontalScrollBar()->isVisible() && !w.pane().verticalScrollBar()->isVisible());
            }
        }
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
