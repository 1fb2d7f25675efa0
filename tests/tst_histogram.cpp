// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QPainter>

#include "DataRows.h"
#include "ShownFrame.h"
#include "core/base/CommandIds.h"
#include "core/video/ViewScale.h"
#include "ui/histogram/CHistogramWnd.h"

namespace {

// markOnGrey: light grey inverted by a mark.
constexpr QRgb grey = 0xc0c0c0, black = 0x000000, white = 0xffffff, markOnGrey = 0x3f3f3f;

// Pixel `step` across the surface at profile position `i`, counted from the bars' base edge.
QRgb barPixel(const ProfileSurface& surface, int i, int step)
{
    const QImage& image = surface.image();
    return (surface.horizontal() ? image.pixel(i, image.height() - 1 - step) : image.pixel(step, i)) & 0xffffff;
}

// How many black pixels bar `i` shows from its base; -1 unless the rest is all grey.
int barLength(const ProfileSurface& surface, int i)
{
    int length = 0;
    while (length < surface.thickness() && barPixel(surface, i, length) == black)
        ++length;
    for (int step = length; step < surface.thickness(); ++step)
        if (barPixel(surface, i, step) != grey)
            return -1;
    return length;
}

} // namespace

class TestHistogram : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    // The size commands serve the tools with a profile; a stored Size that is no menu size reads as Small.
    // The first press of a profile tool shows its window beside the picture (above it, or left of it) with
    // the tool's ends marked; at any zoom, and scrolled, it stays there and each bar stands over its image
    // pixel: dark pixels 200..299 show no bars. Moved and given a new size, it keeps the edge the bars grow
    // from (bottom-left for horizontal, top-right for vertical). The close box is the user's choice, also
    // after a restart, until the toggle.
    void profileWindow_data()
    {
        // chosen: the size chosen next, 0 none; keys: 0 is a notch of the mouse wheel.
        columns<int, QString, int, int, QList<int>, double>("tool", "stored", "thickness", "chosen", "keys", "scale");
        const int in = Qt::Key_Plus, out = Qt::Key_Minus, h = ID_HORIZONTAL, v = ID_VERTICAL;
        QTest::newRow("no tool") << 0 << "256" << 256 << 0 << QList<int> {} << 1.0;
        QTest::newRow("horizontal, 100, at 2/3") << h << "100" << 64 << 128 << QList<int> { out } << 2.0 / 3;
        QTest::newRow("horizontal, text") << h << "large" << 64 << 0 << QList<int> {} << 1.0;
        QTest::newRow("vertical, 128, 2x, scrolled") << v << "128" << 128 << 256 << QList<int> { in, in, 0 } << 2.0;
    }
    void profileWindow()
    {
        const auto [tool, stored, thickness, chosen, keys, scale] = fetch<int, QString, int, int, QList<int>, double>(
            "tool", "stored", "thickness", "chosen", "keys", "scale");
        const bool horizontal = tool == ID_HORIZONTAL;
        SettingsStore(iniPath()).writeString("Histogram", "Size", stored);
        {
            ShownFrame w(iniPath());
            QPainter(&w.doc().FrameBuffer.image()).fillRect(200, 0, 100, 480, Qt::black);
            QPainter(&w.doc().FrameBuffer.image()).fillRect(0, 200, 640, 100, Qt::black);
            for (bool which : { false, true })
                QCOMPARE(w.frame.histogram(which).thickness(), thickness);
            if (tool)
                w.frame.dispatch(tool);
            const QList<int> sizes { ID_HISTOGRAM_SMALL, ID_HISTOGRAM_MEDIUM, ID_HISTOGRAM_LARGE };
            for (int id : sizes + QList<int> { ID_VIEW_HISTOGRAM })
                QCOMPARE(w.enabled(id), tool != 0);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(w.checked(sizes[i]), thickness == 64 << i);
            QVERIFY(!w.checked(ID_VIEW_HISTOGRAM));
            if (!tool) {
                // Without a profile tool the toggle changes nothing.
                w.frame.action(ID_VIEW_HISTOGRAM)->trigger();
                QVERIFY(w.frame.histogram(true).isHidden() && w.frame.histogram(false).isHidden());
                QCOMPARE(w.settings.readInt("Histogram", "Show", -1), -1);
                return;
            }
            // The tool placed with a press at (100, 50).
            w.click({ 100, 50 });
            QCOMPARE(w.video().size(), QSize(680, 520)); // the picture in the default 20-pixel border
            CHistogramWnd& window = w.frame.histogram(horizontal);
            QVERIFY(window.isVisible() && w.frame.histogram(!horizontal).isHidden() && w.checked(ID_VIEW_HISTOGRAM));
            const QSize border = QSize(2, 2) * CHistogramWnd::frameWidth + QSize(0, CHistogramWnd::captionHeight);
            QCOMPARE(window.size(), (horizontal ? QSize(640, thickness) : QSize(thickness, 480)) + border);
            const ProfileSurface& profile = window.profile();
            QCOMPARE(barLength(profile, 700), 0); // beyond the picture
            // A white pixel's bar leaves the line's end point unpainted; the horizontal profile's base lies just
            // below the surface.
            QCOMPARE(barLength(profile, 150), thickness - (horizontal ? 2 : 1));
            const QList<int> marks = horizontal ? QList<int> { 100, 110 } : QList<int> { 50, 60 };
            QCOMPARE(QList<int>({ profile.mark(0), profile.mark(1) }), marks);
            QCOMPARE(barPixel(profile, marks[0], thickness - 1), markOnGrey);
            QCOMPARE(barPixel(profile, marks[1], 0), white);

            for (int key : keys)
                key ? w.key(Qt::Key(key)) : w.wheel(w.onWindow({ 320, 240 }), 1, Qt::NoModifier);
            QCOMPARE(w.video().scale(), scale);
            const QSize shown = ViewScale::shownSize(QSize(640, 480), scale);
            QCOMPARE(horizontal ? window.width() : window.height() - CHistogramWnd::captionHeight,
                (horizontal ? shown.width() : shown.height()) + 2 * CHistogramWnd::frameWidth);
            const QRect picture = w.video().geometry();
            if (horizontal && picture.top() >= window.height())
                QCOMPARE(window.geometry().bottom(), picture.top() - 1);
            if (!horizontal && picture.left() >= window.width())
                QCOMPARE(window.geometry().right(), picture.left() - 1);
            const QImage drawn = window.grab().toImage();
            for (const int pixel : { 180, 250, 320 }) {
                const QPoint onPicture = w.video().pos() + w.video().toClient({ pixel, pixel }) - window.pos();
                const QPoint base = horizontal ? QPoint(onPicture.x(), window.clientRect().bottom())
                                               : QPoint(window.clientRect().left(), onPicture.y());
                QCOMPARE(drawn.pixel(base) & 0xffffff, pixel == 250 ? grey : black);
            }

            if (chosen) {
                window.move(300, 200);
                const QRect before = window.geometry();
                w.frame.action(sizes[chosen / 128])->trigger();
                QCOMPARE(w.settings.readInt("Histogram", "Size", 0), chosen);
                QCOMPARE(w.frame.histogram(!horizontal).thickness(), chosen);
                QCOMPARE(window.size(), (horizontal ? QSize(2048, chosen) : QSize(chosen, 2048)) + border);
                QCOMPARE(horizontal ? window.geometry().bottomLeft() : window.geometry().topRight(),
                    horizontal ? before.bottomLeft() : before.topRight());
            }
            QTest::mouseClick(&window, Qt::LeftButton, {}, window.closeBoxRect().center());
            QVERIFY(window.isHidden());
            QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 0);
        }
        ShownFrame w(iniPath());
        w.frame.dispatch(tool);
        w.click({ 100, 50 });
        QVERIFY(
            w.frame.histogram(false).isHidden() && w.frame.histogram(true).isHidden() && !w.checked(ID_VIEW_HISTOGRAM));
        w.frame.action(ID_VIEW_HISTOGRAM)->trigger();
        QVERIFY(w.frame.histogram(horizontal).isVisible() && w.frame.histogram(!horizontal).isHidden());
        QCOMPARE(w.settings.readInt("Histogram", "Show", -1), 1);
        // Another tool hides a shown profile.
        w.frame.dispatch(ID_LINE);
        QVERIFY(w.frame.histogram(horizontal).isHidden());
    }
};

QTEST_MAIN(TestHistogram)
#include "tst_histogram.moc"
