// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "histogram/CHistogramWnd.h"
#include "histogram/ProfileSurface.h"
#include "video/CVideoWnd.h"

namespace {

constexpr QRgb grey = 0xc0c0c0;
constexpr QRgb black = 0x000000;
// Light grey inverted by a mark.
constexpr QRgb markOnGrey = 0x3f3f3f;

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

// Pixel `step` of bar `i`, counted from the bar's base edge.
QRgb barPixel(const ProfileSurface& surface, int i, int step)
{
    const QImage& image = surface.image();
    return surface.horizontal() ? at(image, i, image.height() - 1 - step) : at(image, step, i);
}

// How many black pixels bar `i` shows from its base; the rest of the bar must be grey.
int barLength(const ProfileSurface& surface, int i)
{
    int length = 0;
    while (length < surface.thickness() && barPixel(surface, i, length) == black)
        ++length;
    for (int step = length; step < surface.thickness(); ++step) {
        if (barPixel(surface, i, step) != grey)
            return -1;
    }
    return length;
}

// Pixel `step` across the thickness at profile position `p`.
QRgb across(const ProfileSurface& surface, int p, int step)
{
    return surface.horizontal() ? at(surface.image(), p, step) : at(surface.image(), step, p);
}

bool bandIs(const ProfileSurface& surface, int p, QRgb colour)
{
    for (int step = 0; step < surface.thickness(); ++step) {
        if (across(surface, p, step) != colour)
            return false;
    }
    return true;
}

} // namespace

class TestHistogram : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    // A shown frame with a white picture, past the measuring prompts.
    struct Window {
        explicit Window(const QString& ini)
            : settings(ini)
            , frame(settings, prompts)
        {
            prompts.calibrateAnswer = {false, true};
            prompts.magnificationDontShow = true;
            frame.resize(1000, 800);
            frame.show();
            QVERIFY(QTest::qWaitForWindowActive(&frame));
            video().FrameBuffer.image().fill(Qt::white);
        }
        CVideoWnd& video() { return frame.imagePane().videoWnd(); }
        CHistogramWnd& histogram(bool horizontal) { return frame.histogram(horizontal); }
        QWidget* paneClient() { return frame.imagePane().viewport(); }
        // Chooses a tool and places it with a press at an image point.
        void place(int command, QPoint image)
        {
            frame.dispatch(command);
            QTest::mousePress(&video(), Qt::LeftButton, {}, image + QPoint(20, 20));
            QTest::mouseRelease(&video(), Qt::LeftButton, {}, image + QPoint(20, 20));
        }
        void clickCloseBox(CHistogramWnd& window)
        {
            QTest::mouseClick(&window, Qt::LeftButton, {}, window.closeBoxRect().center());
        }
        ScriptedPrompts prompts;
        SettingsStore settings;
        CMainFrame frame;
    };

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void barLengthFollowsThickness_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("thickness");
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("length");
        // The line from the base leaves its end point unpainted; the
        // horizontal profile's base lies just below the surface.
        QTest::newRow("vertical 64, 255") << false << 64 << 255 << 63;
        QTest::newRow("vertical 128, 255") << false << 128 << 255 << 127;
        QTest::newRow("vertical 256, 255") << false << 256 << 255 << 255;
        QTest::newRow("vertical 64, 7") << false << 64 << 7 << 1;
        QTest::newRow("vertical 64, 3") << false << 64 << 3 << 0;
        QTest::newRow("horizontal 64, 255") << true << 64 << 255 << 62;
        QTest::newRow("horizontal 128, 255") << true << 128 << 255 << 126;
        QTest::newRow("horizontal 256, 255") << true << 256 << 255 << 254;
        QTest::newRow("horizontal 256, 2") << true << 256 << 2 << 1;
        QTest::newRow("horizontal 128, 0") << true << 128 << 0 << 0;
    }
    void barLengthFollowsThickness()
    {
        QFETCH(bool, horizontal);
        QFETCH(int, thickness);
        QFETCH(int, sample);
        QFETCH(int, length);
        ProfileSurface surface(horizontal);
        surface.setThickness(thickness);
        for (int i : {0, 700, 2047})
            surface.samples()[i] = sample;
        surface.draw();
        QCOMPARE(surface.image().size(), horizontal ? QSize(2048, thickness) : QSize(thickness, 2048));
        for (int i : {0, 700, 2047})
            QCOMPARE(barLength(surface, i), length);
        // Neighbours with no sample show no bar.
        QCOMPARE(barLength(surface, 1), 0);
        QCOMPARE(barLength(surface, 699), 0);
    }

    void marksInvertTheirLine_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("vertical") << false;
        QTest::newRow("horizontal") << true;
    }
    void marksInvertTheirLine()
    {
        QFETCH(bool, horizontal);
        ProfileSurface surface(horizontal);
        surface.setMark(0, 100);
        QVERIFY(bandIs(surface, 100, markOnGrey));
        QVERIFY(bandIs(surface, 99, grey));
        QVERIFY(bandIs(surface, 101, grey));

        // Moved onto its own position it stays drawn.
        surface.setMark(0, 100);
        QVERIFY(bandIs(surface, 100, markOnGrey));

        // Moving it takes the old line away; the other mark is independent.
        surface.setMark(0, 120);
        surface.setMark(1, 300);
        QVERIFY(bandIs(surface, 100, grey));
        QVERIFY(bandIs(surface, 120, markOnGrey));
        QVERIFY(bandIs(surface, 300, markOnGrey));

        // A mark over a bar turns its black into white; a new drawing keeps the marks.
        surface.samples()[120] = 255;
        surface.draw();
        QCOMPARE(barPixel(surface, 120, 10), QRgb(0xffffff));
        QCOMPARE(barPixel(surface, 120, 63), markOnGrey);
        QVERIFY(bandIs(surface, 300, markOnGrey));

        // Off the surface a mark draws nothing and leaves nothing behind.
        surface.setMark(1, 2048);
        surface.setMark(0, -10);
        QCOMPARE(barLength(surface, 120), horizontal ? 62 : 63);
        for (int p : {0, 300, 2047})
            QVERIFY(bandIs(surface, p, grey));
    }

    void windowShowsTheSurfaceTopLeft_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::newRow("vertical") << false;
        QTest::newRow("horizontal") << true;
    }
    void windowShowsTheSurfaceTopLeft()
    {
        QFETCH(bool, horizontal);
        Window w(iniPath());
        CHistogramWnd& window = w.histogram(horizontal);
        int* samples = window.samples();
        QCOMPARE(w.frame.send(WM_APP_GET_HISTOGRAM_DATA, horizontal, 0), reinterpret_cast<qintptr>(samples));
        // The buffer starts empty: no bars.
        QVERIFY(std::all_of(samples, samples + 2048, [](int s) { return s == 0; }));
        for (int i = 0; i < 2048; ++i)
            samples[i] = i % 256;
        window.Draw();
        w.frame.send(WM_APP_SET_HISTOGRAM_MARK, horizontal ? 1 : 3, 40);
        w.frame.send(WM_APP_SHOW_HISTOGRAM, horizontal, 1);
        QVERIFY(window.isVisible());

        const QImage shown = window.grab().toImage();
        const QRect client = window.clientRect();
        const QImage& surface = window.profile().image();
        QCOMPARE(client.size(), horizontal ? QSize(640, 64) : QSize(64, 480));
        for (int y = 0; y < client.height(); y += 7) {
            for (int x = 0; x < client.width(); x += 5)
                QCOMPARE(at(shown, client.x() + x, client.y() + y), at(surface, x, y));
        }
        // The mark crosses the short bar at 40 and the grey beyond it.
        QCOMPARE(across(window.profile(), 40, 0), horizontal ? markOnGrey : QRgb(0xffffff));
        QCOMPARE(across(window.profile(), 40, 63), horizontal ? QRgb(0xffffff) : markOnGrey);
    }

    void marksReachTheirHistogram_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("mark");
        QTest::newRow("0") << 0 << true << 0;
        QTest::newRow("1") << 1 << true << 1;
        QTest::newRow("2") << 2 << false << 0;
        QTest::newRow("3") << 3 << false << 1;
    }
    void marksReachTheirHistogram()
    {
        QFETCH(int, index);
        QFETCH(bool, horizontal);
        QFETCH(int, mark);
        Window w(iniPath());
        w.frame.send(WM_APP_SET_HISTOGRAM_MARK, index, 77);
        QCOMPARE(w.histogram(horizontal).profile().mark(mark), 77);
        QCOMPARE(w.histogram(horizontal).profile().mark(1 - mark), ProfileSurface::unplaced);
        QCOMPARE(w.histogram(!horizontal).profile().mark(0), ProfileSurface::unplaced);
        QCOMPARE(w.histogram(!horizontal).profile().mark(1), ProfileSurface::unplaced);
        QVERIFY(bandIs(w.histogram(horizontal).profile(), 77, markOnGrey));
    }

    void sizeSpansTheSurfaceUntilTheNextShow_data()
    {
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("thickness");
        QTest::newRow("vertical Large") << false << int(ID_HISTOGRAM_LARGE) << 256;
        QTest::newRow("vertical Medium") << false << int(ID_HISTOGRAM_MEDIUM) << 128;
        QTest::newRow("horizontal Large") << true << int(ID_HISTOGRAM_LARGE) << 256;
        QTest::newRow("horizontal Small") << true << int(ID_HISTOGRAM_SMALL) << 64;
    }
    void sizeSpansTheSurfaceUntilTheNextShow()
    {
        QFETCH(bool, horizontal);
        QFETCH(int, command);
        QFETCH(int, thickness);
        Window w(iniPath());
        CHistogramWnd& window = w.histogram(horizontal);
        const int frame = CHistogramWnd::frameWidth;
        const int caption = CHistogramWnd::captionHeight;
        w.frame.send(WM_APP_SHOW_HISTOGRAM, horizontal, 1);
        const QSize fitted = horizontal ? QSize(640 + 2 * frame, 64 + 2 * frame + caption)
                                        : QSize(64 + 2 * frame, 480 + 2 * frame + caption);
        QCOMPARE(window.size(), fitted);
        window.move(300, 200);
        const QRect before = window.geometry();

        w.frame.dispatch(command);
        QCOMPARE(w.settings.readInt("Histogram", "Size", 0), thickness);
        QCOMPARE(w.histogram(!horizontal).thickness(), thickness);
        const QSize full = horizontal ? QSize(2048 + 2 * frame, thickness + 2 * frame + caption)
                                      : QSize(thickness + 2 * frame, 2048 + 2 * frame + caption);
        QCOMPARE(window.size(), full);
        // The edge the bars grow from stays: bottom for horizontal, right for vertical.
        if (horizontal) {
            QCOMPARE(window.x(), before.x());
            QCOMPARE(window.geometry().bottom(), before.bottom());
        } else {
            QCOMPARE(window.geometry().right(), before.right());
            QCOMPARE(window.y(), before.y());
        }

        const QPoint placed = window.pos();
        w.frame.send(WM_APP_SHOW_HISTOGRAM, horizontal, 1);
        const QSize refitted = horizontal ? QSize(640 + 2 * frame, full.height()) : QSize(full.width(), fitted.height());
        QCOMPARE(window.size(), refitted);
        QCOMPARE(window.pos(), placed);
    }

    void storedSizeReads_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("thickness");
        QTest::newRow("100") << "100" << 64;
        QTest::newRow("0") << "0" << 64;
        QTest::newRow("512") << "512" << 64;
        QTest::newRow("-128") << "-128" << 64;
        QTest::newRow("text") << "large" << 64;
        QTest::newRow("128") << "128" << 128;
        QTest::newRow("256") << "256" << 256;
    }
    void storedSizeReads()
    {
        QFETCH(QString, stored);
        QFETCH(int, thickness);
        {
            SettingsStore settings(iniPath());
            settings.writeString("Histogram", "Size", stored);
        }
        Window w(iniPath());
        for (bool horizontal : {false, true}) {
            const CHistogramWnd& window = w.histogram(horizontal);
            QCOMPARE(window.thickness(), thickness);
            QCOMPARE(window.profile().image().size(),
                     horizontal ? QSize(2048, thickness) : QSize(thickness, 2048));
        }
        // Reading leaves the stored value alone.
        QCOMPARE(w.settings.readString("Histogram", "Size", QString()), stored);
    }

    void closeBoxKeepsBothHiddenUntilTheToggle_data()
    {
        QTest::addColumn<bool>("closeHorizontal");
        QTest::newRow("vertical closed") << false;
        QTest::newRow("horizontal closed") << true;
    }
    void closeBoxKeepsBothHiddenUntilTheToggle()
    {
        QFETCH(bool, closeHorizontal);
        {
            Window w(iniPath());
            w.frame.send(WM_APP_SHOW_HISTOGRAM, closeHorizontal, 1);
            CHistogramWnd& window = w.histogram(closeHorizontal);
            QVERIFY(window.isVisible());
            QCOMPARE(w.settings.readInt("Histogram", "Show", -1), -1);
            w.clickCloseBox(window);
            QVERIFY(window.isHidden());
            QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 0);
            // Requests from the tools leave it hidden now.
            w.frame.send(WM_APP_SHOW_HISTOGRAM, closeHorizontal, 1);
            QVERIFY(window.isHidden());
        }
        Window w(iniPath());
        w.place(ID_HORIZONTAL, {100, 50});
        QVERIFY(w.histogram(true).isHidden());
        w.place(ID_VERTICAL, {100, 50});
        QVERIFY(w.histogram(false).isHidden());
        QVERIFY(w.histogram(true).isHidden());
        QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 0);

        // The toggle serves the current tool's histogram and stores the choice.
        w.frame.updateCommandUI();
        w.frame.action(ID_VIEW_HISTOGRAM)->trigger();
        QVERIFY(w.histogram(false).isVisible());
        QVERIFY(w.histogram(true).isHidden());
        QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 1);
        QVERIFY(w.frame.action(ID_VIEW_HISTOGRAM)->isChecked());
        w.frame.action(ID_VIEW_HISTOGRAM)->trigger();
        QVERIFY(w.histogram(false).isHidden());
        QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 0);
        QVERIFY(!w.frame.action(ID_VIEW_HISTOGRAM)->isChecked());
    }

    void commandStates_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("storedSize");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("checkedSize");
        QTest::newRow("no tool") << 0 << 64 << false << int(ID_HISTOGRAM_SMALL);
        QTest::newRow("Line") << int(ID_LINE) << 128 << false << int(ID_HISTOGRAM_MEDIUM);
        QTest::newRow("Rectangle") << int(ID_RECTANGLE) << 64 << false << int(ID_HISTOGRAM_SMALL);
        QTest::newRow("Horizontal") << int(ID_HORIZONTAL) << 64 << true << int(ID_HISTOGRAM_SMALL);
        QTest::newRow("Horizontal, Medium") << int(ID_HORIZONTAL) << 128 << true << int(ID_HISTOGRAM_MEDIUM);
        QTest::newRow("Vertical, Large") << int(ID_VERTICAL) << 256 << true << int(ID_HISTOGRAM_LARGE);
    }
    void commandStates()
    {
        QFETCH(int, tool);
        QFETCH(int, storedSize);
        QFETCH(bool, enabled);
        QFETCH(int, checkedSize);
        {
            SettingsStore settings(iniPath());
            settings.writeInt("Histogram", "Size", storedSize);
        }
        Window w(iniPath());
        if (tool)
            w.frame.dispatch(tool);
        w.frame.updateCommandUI();
        QCOMPARE(bool(w.video().activeTool), tool != 0);
        for (int id : {ID_VIEW_HISTOGRAM, ID_HISTOGRAM_SMALL, ID_HISTOGRAM_MEDIUM, ID_HISTOGRAM_LARGE})
            QCOMPARE(w.frame.action(id)->isEnabled(), enabled);
        for (int id : {ID_HISTOGRAM_SMALL, ID_HISTOGRAM_MEDIUM, ID_HISTOGRAM_LARGE})
            QCOMPARE(w.frame.action(id)->isChecked(), id == checkedSize);
        QVERIFY(!w.frame.action(ID_VIEW_HISTOGRAM)->isChecked());

        // Without a profile tool the toggle changes nothing.
        w.frame.action(ID_VIEW_HISTOGRAM)->trigger();
        const bool someShown = !w.histogram(true).isHidden() || !w.histogram(false).isHidden();
        QCOMPARE(someShown, enabled);
        QCOMPARE(w.settings.readInt("Histogram", "Show", -1), enabled ? 1 : -1);
    }

    void horizontalToolShowsItsProfile()
    {
        Window w(iniPath());
        // A dark band over the columns 200..299 of the white picture.
        QImage& image = w.video().FrameBuffer.image();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 200; x < 300; ++x)
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
        w.place(ID_HORIZONTAL, {100, 50});
        CHistogramWnd& window = w.histogram(true);
        QVERIFY(window.isVisible());
        QVERIFY(w.histogram(false).isHidden());
        QCOMPARE(window.y(), qMax(0, w.video().y() - window.height()));
        QCOMPARE(window.x(), (w.paneClient()->width() - window.width()) / 2);
        w.frame.updateCommandUI();
        QVERIFY(w.frame.action(ID_VIEW_HISTOGRAM)->isChecked());

        // Bright columns show full bars, the dark band none; beyond the image nothing.
        const ProfileSurface& profile = window.profile();
        QCOMPARE(profile.samples()[10], 255);
        QCOMPARE(profile.samples()[250], 0);
        QCOMPARE(barLength(profile, 10), 62);
        QCOMPARE(barLength(profile, 250), 0);
        QCOMPARE(barLength(profile, 700), 0);
        // The tool's ends are marked.
        QCOMPARE(profile.mark(0), 100);
        QCOMPARE(profile.mark(1), 110);
        QCOMPARE(across(profile, 100, 0), markOnGrey);
        QCOMPARE(across(profile, 110, 63), QRgb(0xffffff));

        // Another tool hides it again.
        w.frame.dispatch(ID_LINE);
        QVERIFY(window.isHidden());
    }

    void captionDragStaysInsideThePane_data()
    {
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QString>("expect");
        QTest::newRow("inside") << QPoint(30, 20) << "moved";
        QTest::newRow("past the top-left") << QPoint(-5000, -5000) << "top-left";
        QTest::newRow("past the bottom-right") << QPoint(5000, 5000) << "bottom-right";
    }
    void captionDragStaysInsideThePane()
    {
        QFETCH(QPoint, drag);
        QFETCH(QString, expect);
        Window w(iniPath());
        w.frame.send(WM_APP_SHOW_HISTOGRAM, 0, 1);
        CHistogramWnd& window = w.histogram(false);
        window.move(100, 100);
        const QPoint grab = window.captionRect().center() - QPoint(10, 0);
        QTest::mousePress(&window, Qt::LeftButton, {}, grab);
        const QPoint to = grab + drag;
        QMouseEvent move(QEvent::MouseMove, to, window.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &move);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, to);
        const QSize pane = w.paneClient()->size();
        QPoint expected(130, 120);
        if (expect == "top-left")
            expected = QPoint(0, 0);
        else if (expect == "bottom-right")
            expected = QPoint(pane.width() - window.width(), pane.height() - window.height());
        QCOMPARE(window.pos(), expected);
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestHistogram)
#include "tst_histogram.moc"
