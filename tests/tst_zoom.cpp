// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/StatusPanes.h"
#include "core/video/ViewScale.h"

using Keys = QList<int>;

namespace {

// Key combinations as data rows carry them.
int plus = Qt::Key_Plus, minus = Qt::Key_Minus;
Keys times(int count, int key)
{
    return Keys(count, key);
}

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
    // A line laid at the current zoom from one image point to another.
    void lay(QPoint from, QPoint to)
    {
        key(Qt::Key_L);
        mouse(QTest::MousePress, from);
        mouse(QTest::MouseMove, to);
        mouse(QTest::MouseRelease, to);
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
    bool enabled(int id)
    {
        QCoreApplication::processEvents();
        return frame.action(id)->isEnabled();
    }
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
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<bool>("zoomIn");
        QTest::addColumn<bool>("zoomOut");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("at start") << Keys {} << 1.0 << "Zoom=100%" << true << true;
        QTest::newRow("+") << Keys { plus } << 1.5 << "Zoom=150%" << true << true;
        QTest::newRow("= and Ctrl++") << Keys { Qt::Key_Equal, ctrl | plus } << 2.0 << "Zoom=200%" << true << true;
        QTest::newRow("-") << Keys { minus } << 2.0 / 3 << "Zoom=67%" << true << true;
        QTest::newRow("Ctrl+- twice") << Keys { ctrl | minus, ctrl | minus } << 0.5 << "Zoom=50%" << true << true;
        QTest::newRow("seven steps down") << times(7, minus) << 1.0 / 12 << "Zoom=8%" << true << true;
        QTest::newRow("down to 1/16, no further") << times(9, minus) << 1.0 / 16 << "Zoom=6%" << true << false;
        QTest::newRow("up to 32, no further") << times(11, plus) << 32.0 << "Zoom=3200%" << false << true;
        QTest::newRow("1 gives pixels back")
            << Keys { plus, plus, minus, Qt::Key_1 } << 1.0 << "Zoom=100%" << true << true;
    }
    void stepsAndTheirLimits()
    {
        QFETCH(Keys, keys);
        QFETCH(double, scale);
        Window w(iniPath());
        w.press(keys);
        QCOMPARE(w.scale(), scale);
        QCOMPARE(w.video().size(), ViewScale::shownSize(QSize(680, 520), scale));
        QTEST(w.frame.statusPane(ID_INDICATOR_ZOOM)->text(), "pane");
        QTEST(w.enabled(ID_VIEW_ZOOM_IN), "zoomIn");
        QTEST(w.enabled(ID_VIEW_ZOOM_OUT), "zoomOut");
    }

    void fitShowsTheWholeView_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::newRow("wide") << QSize(6000, 400);
        QTest::newRow("tall") << QSize(400, 3000);
        QTest::newRow("small: pixel for pixel") << QSize(300, 200);
        QTest::newRow("huge") << QSize(5472, 3648);
    }
    void fitShowsTheWholeView()
    {
        QFETCH(QSize, picture);
        Window w(iniPath());
        w.doc().AllocateFrameBuffer(picture.width(), picture.height());
        // Fitted, it also follows the window's size.
        for (const QSize size : { QSize(1000, 800), QSize(700, 900) }) {
            w.frame.resize(size);
            w.key(Qt::Key_F);
            QCoreApplication::processEvents();
            const QSize port = w.pane().viewport()->size();
            const QSize view = picture + QSize(40, 40);
            const double largest
                = qMin(1.0, qMin(double(port.width()) / view.width(), double(port.height()) / view.height()));
            QCOMPARE(w.scale(), largest);
            QVERIFY(w.pane().viewport()->rect().contains(w.video().geometry()));
            QVERIFY(!w.pane().horizontalScrollBar()->isVisible() && !w.pane().verticalScrollBar()->isVisible());
        }
        w.key(Qt::Key_1);
        QCOMPARE(w.scale(), 1.0);
        QCOMPARE(w.video().size(), picture + QSize(40, 40));
    }

    // The image point under the pointer stays there: exactly when zooming in,
    // within the pixels one screen pixel covers when zooming out.
    void ctrlWheelZoomsAboutThePointer_data()
    {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<double>("scale");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl, a notch up") << 1 << ctrl << 1.5;
        QTest::newRow("Ctrl, two notches up") << 2 << ctrl << 2.0;
        QTest::newRow("Ctrl, a notch down") << -1 << ctrl << 2.0 / 3;
        QTest::newRow("the wheel alone scrolls") << -1 << int(Qt::NoModifier) << 1.0;
    }
    void ctrlWheelZoomsAboutThePointer()
    {
        QFETCH(int, notches);
        QFETCH(int, modifiers);
        QFETCH(double, scale);
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

    void pointerReachesImagePixels_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QPoint>("from"); // image pixel
        QTest::addColumn<QPoint>("screenStep");
        QTest::addColumn<QPoint>("imageStep");
        QTest::newRow("1:1") << Keys {} << QPoint(100, 240) << QPoint(100, 0) << QPoint(100, 0);
        QTest::newRow("1/4: 100 screen pixels are 400")
            << times(4, minus) << QPoint(100, 240) << QPoint(100, 0) << QPoint(400, 0);
        QTest::newRow("1.5x") << Keys { plus } << QPoint(300, 240) << QPoint(30, -15) << QPoint(20, -10);
        QTest::newRow("8x: 80 screen pixels are 10")
            << times(6, plus) << QPoint(320, 240) << QPoint(80, 40) << QPoint(10, 5);
    }
    void pointerReachesImagePixels()
    {
        QFETCH(Keys, keys);
        QFETCH(QPoint, from);
        QFETCH(QPoint, screenStep);
        QFETCH(QPoint, imageStep);
        Window w(iniPath());
        w.press(keys);
        w.key(Qt::Key_L);
        const QPoint start = w.onWindow(from);
        w.mouseOnWindow(QTest::MousePress, start);
        w.mouseOnWindow(QTest::MouseMove, start + screenStep);
        w.mouseOnWindow(QTest::MouseRelease, start + screenStep);
        const CTool& line = *w.tool();
        QCOMPARE(line.points[2] - line.points[1], imageStep);
        QVERIFY(qAbs(line.points[1].x() - from.x()) < 4);
        // The panes report the image pixel under the pointer.
        QCOMPARE(w.frame.statusPane(ID_INDICATOR_X)->text(), QStringLiteral("X=%1").arg(line.points[2].x()));
        QCOMPARE(w.frame.statusPane(ID_INDICATOR_Y)->text(), QStringLiteral("Y=%1").arg(line.points[2].y()));
        QCOMPARE(w.frame.statusPane(ID_INDICATOR_LUMA)->text(), QStringLiteral("Luma=255"));
    }

    // A handle is in reach within 3 screen pixels, and never less than 3 image pixels.
    void handlesAreInReach_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("screenOffset");
        QTest::addColumn<bool>("grabbed");
        QTest::newRow("1:1, 3 off") << Keys {} << 3 << true;
        QTest::newRow("1:1, 4 off") << Keys {} << 4 << false;
        QTest::newRow("1/8, 2 off") << times(6, minus) << 2 << true;
        QTest::newRow("1/8, 5 off") << times(6, minus) << 5 << false;
        QTest::newRow("8x, 3 image pixels off") << times(6, plus) << 24 << true;
        QTest::newRow("8x, 4 image pixels off") << times(6, plus) << 32 << false;
    }
    void handlesAreInReach()
    {
        QFETCH(Keys, keys);
        QFETCH(int, screenOffset);
        QFETCH(bool, grabbed);
        Window w(iniPath());
        w.lay({ 200, 240 }, { 320, 240 });
        w.press(keys);
        const QPoint handle = w.onWindow({ 320, 240 }) + QPoint(screenOffset, 0);
        w.mouseOnWindow(QTest::MousePress, handle);
        w.mouseOnWindow(QTest::MouseMove, handle + QPoint(0, 16));
        w.mouseOnWindow(QTest::MouseRelease, handle + QPoint(0, 16));
        QCOMPARE(w.tool()->points[1], QPoint(200, 240));
        QCOMPARE(w.tool()->points[2] != QPoint(320, 240), grabbed);
    }

    void pixelsAsShown()
    {
        Window w(iniPath());
        // One-pixel stripes: even columns black, odd ones white.
        QImage& image = w.doc().FrameBuffer.image();
        for (int x = 0; x < image.width(); x += 2)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, black);

        // Enlarged, each image pixel is a sharp square: bands 8 pixels wide.
        w.press(times(6, plus));
        w.grab();
        const QPoint left = w.video().toClient({ 320, 240 }) - QPoint(4, 0);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(w.pixel(left + QPoint(i, 0)), (i / 8) % 2 ? white : black);

        // Reduced, neighbours are averaged: grey, with no stripes left.
        w.press(Keys { Qt::Key_1, minus, minus });
        QCOMPARE(w.scale(), 0.5);
        w.grab();
        for (int x = 20; x < 150; ++x) {
            const int grey = qGray(w.pixel({ x, 120 }));
            QVERIFY2(grey > 120 && grey < 136, qPrintable(QString::number(grey)));
        }
    }

    // Zoomed far out a one-pixel line still shows, and the handles keep their size on screen.
    void toolStaysVisibleWhenReduced()
    {
        Window w(iniPath());
        w.lay({ 40, 200 }, { 560, 200 });
        w.press(times(8, minus));
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

    // Saving writes the 1:1 picture, whatever the zoom.
    void savedFileIgnoresTheZoom()
    {
        Window w(iniPath());
        w.lay({ 100, 100 }, { 400, 300 });
        QByteArray first;
        for (const Keys& keys : { Keys {}, times(4, minus), times(6, plus), Keys { Qt::Key_F } }) {
            w.press(keys);
            w.prompts.saveFileAnswer = dir.filePath(QStringLiteral("zoomed.png"));
            w.frame.action(ID_FILE_SAVE)->trigger();
            QFile file(w.prompts.saveFileAnswer);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            if (first.isEmpty()) {
                first = bytes;
                const QImage saved = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
                QCOMPARE(saved.size(), QSize(680, 520));
                QCOMPARE(saved.pixel(QPoint(250, 200) + QPoint(20, 20)), black);
            }
            QCOMPARE(bytes, first);
            QVERIFY(w.tool()->placed);
        }
    }

    void fitLargeIsRemembered_data()
    {
        QTest::addColumn<int>("stored"); // -1 for none
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<bool>("fitLarge");
        QTest::newRow("on at first") << -1 << false << true;
        QTest::newRow("turned off") << -1 << true << false;
        QTest::newRow("off") << 0 << false << false;
        QTest::newRow("turned on") << 0 << true << true;
    }
    void fitLargeIsRemembered()
    {
        QFETCH(int, stored);
        QFETCH(bool, toggle);
        QFETCH(bool, fitLarge);
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
        // A large picture opens fitted, or pixel for pixel; a small one always 1:1.
        for (const QSize size : { QSize(2001, 1501), QSize(300, 200) }) {
            w.press(Keys { plus });
            const QString path = TestImages::write(
                dir.path(), QStringLiteral("opened.png"), TestImages::pattern(size.width(), size.height()));
            w.frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
            QCoreApplication::processEvents();
            const bool fitted = fitLarge && size.width() > 1000;
            QCOMPARE(w.scale() < 1, fitted);
            QCOMPARE(w.pane().viewport()->rect().contains(w.video().geometry()), fitted || size.width() < 1000);
            if (!fitted)
                QCOMPARE(w.scale(), 1.0);
        }
    }
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
