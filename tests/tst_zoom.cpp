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
        for (int k : keys)
            ShownFrame::key(
                QKeyCombination::fromCombined(k).key(), QKeyCombination::fromCombined(k).keyboardModifiers());
        QCoreApplication::processEvents();
    }
    // Takes what the visible part of the Video Window shows; pixel() reads it.
    void grab()
    {
        grabbed = video().visibleRegion().boundingRect();
        picture = video().grab(grabbed).toImage().convertToFormat(QImage::Format_RGB32);
    }
    void dragOnWindow(QPoint from, QPoint to)
    {
        mouseOnWindow(QTest::MousePress, from);
        mouseOnWindow(QTest::MouseMove, to);
        mouseOnWindow(QTest::MouseRelease, to);
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

    // Keys, or a turn of the wheel over image point (1033, 711) of a 2000 x 1500 picture; then the scale, the pane
    // and whether Zoom In and Zoom Out are on. With Ctrl the wheel zooms about the pointer: the image point stays
    // under it, exactly when zooming in, within the pixels one screen pixel covers when zooming out.
    void steps_data()
    {
        columns<Keys, int, int, double, QString, bool, bool>(
            "keys", "notches", "modifiers", "scale", "pane", "zoomIn", "zoomOut");
        const int ctrl = Qt::ControlModifier;
        const auto row = [](const char* name, Keys keys, double scale, const char* pane, bool in = true,
                             bool out = true, int notches = 0, int modifiers = Qt::ControlModifier) {
            QTest::newRow(name) << keys << notches << modifiers << scale << pane << in << out;
        };
        row("+", { plus }, 1.5, "Zoom=150%");
        row("= and Ctrl++", { Qt::Key_Equal, ctrl | plus }, 2.0, "Zoom=200%");
        row("- and Ctrl+-", { minus, ctrl | minus, plus }, 2.0 / 3, "Zoom=67%");
        row("down to 1/16, no further", Keys(9, minus), 1.0 / 16, "Zoom=6%", true, false);
        row("up to 32, no further", Keys(11, plus), 32.0, "Zoom=3200%", false, true);
        row("1 gives pixels back", { plus, plus, minus, Qt::Key_1 }, 1.0, "Zoom=100%");
        row("Ctrl, a notch up", {}, 1.5, "Zoom=150%", true, true, 1);
        row("Ctrl, a notch down", {}, 2.0 / 3, "Zoom=67%", true, true, -1);
        row("the wheel alone scrolls", {}, 1.0, "Zoom=100%", true, true, -1, Qt::NoModifier);
    }
    void steps()
    {
        const auto [keys, notches, modifiers, scale]
            = fetch<Keys, int, int, double>("keys", "notches", "modifiers", "scale");
        Window w(iniPath());
        if (notches)
            w.doc().AllocateFrameBuffer(2000, 1500);
        QCoreApplication::processEvents();
        const QPoint image(1033, 711), at = w.onWindow(image);
        w.press(keys);
        if (notches)
            w.wheel(at, notches, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.scale(), scale);
        QCOMPARE(w.video().size(), ViewScale::shownSize(notches ? QSize(2040, 1540) : QSize(680, 520), scale));
        QTEST(w.frame.statusPane(ID_INDICATOR_ZOOM)->text(), "pane");
        QTEST(w.enabled(ID_VIEW_ZOOM_IN), "zoomIn");
        QTEST(w.enabled(ID_VIEW_ZOOM_OUT), "zoomOut");
        // The wheel alone scrolls by 60 pixels a notch.
        const QPoint off = w.video().toImage(w.video().mapFrom(&w.frame, at)) - image - QPoint(0, modifiers ? 0 : 60);
        QVERIFY2(!notches || (qAbs(off.x()) <= (scale < 1) && qAbs(off.y()) <= (scale < 1)),
            qPrintable(QStringLiteral("%1, %2").arg(off.x()).arg(off.y())));
    }

    // A line laid at a zoom spans the image pixels under the pointer. A handle is then in reach within 3
    // screen pixels, and never less than 3 image pixels.
    void pointerReachesImagePixels_data()
    {
        columns<Keys, QPoint, QPoint, QPoint, int, bool>(
            "keys", "from", "screenStep", "imageStep", "offset", "grabbed");
        QTest::newRow("1:1, 4 off") << Keys {} << QPoint(100, 240) << QPoint(100, 0) << QPoint(100, 0) << 4 << false;
        // At 1/4 100 screen pixels are 400 image pixels; at 8x 80 are 10, and 24 screen pixels are 3 image pixels.
        QTest::newRow("1/4") << Keys(4, minus) << QPoint(100, 240) << QPoint(100, 0) << QPoint(400, 0) << 3 << true;
        QTest::newRow("1.5x") << Keys { plus } << QPoint(300, 240) << QPoint(30, -15) << QPoint(20, -10) << 0 << true;
        QTest::newRow("8x, 24") << Keys(6, plus) << QPoint(320, 240) << QPoint(80, 40) << QPoint(10, 5) << 24 << true;
        QTest::newRow("8x, 32") << Keys(6, plus) << QPoint(320, 240) << QPoint(80, 40) << QPoint(10, 5) << 32 << false;
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
        w.dragOnWindow(start, start + screenStep);
        const QPoint end = w.tool()->points[2], begin = w.tool()->points[1];
        QCOMPARE(end - begin, imageStep);
        QVERIFY(qAbs(begin.x() - from.x()) < 4);
        const QPoint handle = w.onWindow(end) + QPoint(offset, 0);
        w.dragOnWindow(handle, handle + QPoint(0, 16));
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
            QPainter(&image).fillRect(x, 0, 1, image.height(), Qt::black);

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
        w.press(Keys(9, minus)); // 1/16
        w.grab();
        const QPoint from = w.video().toClient({ 40, 200 }), end = w.video().toClient({ 560, 200 });
        for (int x = from.x() + 4; x < end.x() - 3; ++x)
            QCOMPARE(w.pixel({ x, end.y() }), black);
        // The 7 x 7 outline around the end, the picture inside it.
        for (const QPoint& outline : { QPoint(-3, 0), QPoint(-3, -3), QPoint(0, 3), QPoint(3, 3) })
            QCOMPARE(w.pixel(end + outline), yellow);
        QCOMPARE(w.pixel(end + QPoint(-1, -1)), white);
    }

    // Fit Large is on at first and remembered when turned off. A large picture opens fitted, or pixel for pixel when
    // it is off; a small one always 1:1. Centred, overhanging both sides alike when larger.
    void fitLargeIsRemembered()
    {
        Window w(iniPath());
        QVERIFY(w.checked(ID_VIEW_FIT_LARGE));
        for (const auto& [size, fitLarge] :
            { std::pair(QSize(2001, 1501), true), { QSize(300, 200), true }, { QSize(2001, 1501), false } }) {
            if (!fitLarge && w.checked(ID_VIEW_FIT_LARGE))
                w.frame.action(ID_VIEW_FIT_LARGE)->trigger();
            QCOMPARE(w.settings.readInt(QStringLiteral("View"), QStringLiteral("FitLarge"), -1), fitLarge ? -1 : 0);
            QCOMPARE(w.checked(ID_VIEW_FIT_LARGE), fitLarge);
            w.press(Keys { plus });
            const QString path = TestImages::write(
                dir.path(), QStringLiteral("opened.bmp"), TestImages::pattern(size.width(), size.height()));
            w.frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
            QCoreApplication::processEvents();
            QCOMPARE(w.frame.windowTitle(), QStringLiteral("Scopique Pro - opened.bmp"));
            const QSize port = w.pane().viewport()->size(), picture = size;
            const bool fitted = fitLarge && size.width() > 1000, scrolls = !fitted && size.width() > 1000;
            const auto fit = [picture](QSize port) {
                return qMin(double(port.width()) / picture.width(), double(port.height()) / picture.height());
            };
            const double scale = fitted ? fit(port) : 1.0;
            QCOMPARE(w.scale(), scale);
            const QSize shown = ViewScale::shownSize(size, scale);
            QCOMPARE(w.video().size(), shown);
            QCOMPARE(w.pane().horizontalScrollBar()->isVisible(), scrolls);
            QCOMPARE(w.pane().verticalScrollBar()->isVisible(), scrolls);
            QCOMPARE(w.video().pos(), QPoint((port.width() - shown.width()) / 2, (port.height() - shown.height()) / 2));
            if (scrolls) {
                // Fit to Window shows it whole.
                w.key(Qt::Key_F);
                QCOMPARE(w.scale(), fit(w.pane().viewport()->size()));
                QVERIFY(!w.pane().horizontalScrollBar()->isVisible() && !w.pane().verticalScrollBar()->isVisible());
            }
        }
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
