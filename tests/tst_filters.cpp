// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/video/ImageFilters.h"

using Messages = QList<MessageLog::Message>;
using Values = QVector<int>;
using Where = std::function<bool(int x, int y)>;
Q_DECLARE_METATYPE(Where)

namespace {

// One way of running the filters: row bands and SIMD or not.
struct Way {
    const char* name;
    int bands;
    bool vector;
};
const Way ways[] = { { "plain", 1, false }, { "vector", 1, true }, { "vector, 3 bands", 3, true },
    { "plain, 7 bands", 7, false }, { "by size", 0, true } };

int lumaOf(QRgb p)
{
    return (qBlue(p) + qGreen(p) + qRed(p)) / 3;
}

// The rules as written, pixel by pixel, to hold the fast ways against:
// the luma, or with `edges` the edge grey from the lumas around.
QImage plainRule(const QImage& in, bool edges)
{
    const auto L = [&](int x, int y) {
        return x < 0 || y < 0 || x >= in.width() || y >= in.height() ? 0 : lumaOf(in.pixel(x, y));
    };
    QImage out = in.copy();
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            int gv = 0, gh = 0;
            for (int d = -1; d <= 1; ++d) {
                gv += L(x + d, y + 1) - L(x + d, y - 1);
                gh += L(x - 1, y + d) - L(x + 1, y + d);
            }
            const int v = edges ? 255 - std::min(std::abs(gv) + std::abs(gh), 255) : L(x, y);
            out.setPixel(x, y, qRgb(v, v, v));
        }
    return out;
}

// Smooth colour with a little noise and some wild pixels, so that edge
// magnitudes fall on both sides of the limit.
QImage randomPicture(QSize size)
{
    std::mt19937 random(unsigned(size.width() * 7919 + size.height()));
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int base = (x * 3 + y * 5) % 200 + 20, noise = int(random() % 13) - 6;
            image.setPixel(
                x, y, random() % 10 == 0 ? QRgb(random()) : qRgb(base + noise, base / 2 - noise, 230 - base));
        }
    return image;
}

// A picture in `off` with `on` where `where` holds.
QImage drawn(QSize size, QRgb on, QRgb off, const Where& where)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, where(x, y) ? on : off);
    return image;
}

// Sentinels around the pane's 2048 values show what was written.
constexpr int untouched = -7;

// Records messages, and the picture as it was when the histogram was told to update.
struct NoticeLog : MessageLog {
    const ImageDocument* video = nullptr;
    QImage seen;
    qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override
    {
        if (message == WM_APP_UPDATE_HISTOGRAM && video)
            seen = video->FrameBuffer.image().copy();
        return MessageLog::send(message, wParam, lParam);
    }
};

} // namespace

class TestFilters : public QObject {
    Q_OBJECT

private:
    // A picture over a recording main window, showing `picture`, with a
    // tool of `kind` (none for 0) whose point 1 is `through`.
    struct Video {
        Video(const QString& ini, int kind, QPoint through, const QImage& picture = QImage())
            : settings(ini)
            , wnd(settings, prompts, log)
        {
            if (kind) {
                wnd.SetActiveTool(ToolFactory::create(kind, settings, log));
                wnd.activeTool()->points[1] = through;
            }
            // Sized first, so that the view is laid out for the picture.
            wnd.AllocateFrameBuffer(picture.width(), picture.height());
            wnd.FrameBuffer.image() = picture;
            log.messages.clear();
            log.video = &wnd;
        }
        SettingsStore settings;
        ScriptedPrompts prompts;
        NoticeLog log;
        ImageDocument wnd;
    };

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void filtersMatchTheRule_data()
    {
        QTest::addColumn<QImage>("in");
        QTest::addColumn<QImage>("edges");
        // Eight pixels at a time and some left over; more rows than bands;
        // from a million pixels on, every core takes a band by default.
        for (const QSize size :
            { QSize(0, 0), QSize(1, 1), QSize(2, 3), QSize(9, 8), QSize(17, 1025), QSize(1001, 1000) })
            QTest::addRow("%dx%d", size.width(), size.height())
                << randomPicture(size) << plainRule(randomPicture(size), true);
        QImage sums(766, 1, QImage::Format_RGB32);
        for (int sum = 0; sum <= 765; ++sum) {
            const int blue = std::min(sum, 255), green = std::min(sum - blue, 255);
            sums.setPixel(sum, 0, qRgb(sum - blue - green, green, blue));
        }
        QTest::newRow("every sum of blue, green and red") << sums << plainRule(sums, true);

        const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
        const Where nowhere = [](int, int) { return false; };
        QTest::newRow("uniform grey 128: white inside a black outline")
            << drawn(QSize(23, 11), white, qRgb(128, 128, 128), nowhere)
            << drawn(QSize(23, 11), black, white, [](int x, int y) { return x == 0 || y == 0 || x == 22 || y == 10; });
        QTest::newRow("uniform black: all white")
            << drawn(QSize(19, 7), white, black, nowhere) << drawn(QSize(19, 7), black, white, nowhere);
        // Where the line ends, the row beyond the image is black.
        QTest::newRow("vertical line: black on both sides, white on it")
            << drawn(QSize(21, 9), white, black, [](int x, int) { return x == 10; })
            << drawn(QSize(21, 9), black, white,
                   [](int x, int y) { return x == 9 || x == 11 || (x == 10 && (y == 0 || y == 8)); });
        QTest::newRow("odd width 641: a dot stays where it was")
            << drawn(QSize(641, 480), white, black, [](int x, int y) { return x == 639 && y == 5; })
            << drawn(QSize(641, 480), black, white,
                   [](int x, int y) { return qAbs(x - 639) <= 1 && qAbs(y - 5) <= 1 && (x != 639 || y != 5); });
    }
    void filtersMatchTheRule()
    {
        QFETCH(QImage, in);
        QFETCH(QImage, edges);
        const QImage grey = plainRule(in, false);
        for (const Way& way : ways) {
            QImage result = in.copy();
            ImageFilters::monochrome(result, way.bands, way.vector);
            QVERIFY2(result == grey, way.name);
            // The result buffer is reused and holds old pixels.
            result.fill(qRgb(1, 2, 3));
            ImageFilters::edgeEnhance(in, result, way.bands, way.vector);
            QVERIFY2(result == edges, way.name);
        }
        // Beside the source, as the command runs it; the source stays.
        const QImage source = in.copy();
        QImage beside = in.isNull() ? QImage() : QImage(in.size(), QImage::Format_RGB32);
        ImageFilters::monochrome(source, beside);
        QCOMPARE(beside, grey);
        QCOMPARE(source, in);
    }

    void profileFollowsTheTool_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("through");
        QTest::addColumn<Values>("profile");
        // Row y's luma is 10, 21, 60 or 100 (for y mod 4) plus x mod 100.
        const QSize small(5, 4);
        QTest::newRow("row 0: itself and the row below")
            << int(KindHorizontal) << small << QPoint(3, 0) << Values { 15, 16, 17, 18, 19 };
        QTest::newRow("row 1: three rows")
            << int(KindHorizontal) << small << QPoint(-40, 1) << Values { 30, 31, 32, 33, 34 };
        QTest::newRow("row below the image: zeros") << int(KindCalibrate) << small << QPoint(2, 4) << Values(5, 0);
        QTest::newRow("column 0: itself and the one right")
            << int(KindVertical) << small << QPoint(0, 9) << Values { 10, 21, 60, 100 };
        QTest::newRow("column 2: three columns")
            << int(KindCalibrateVertical) << small << QPoint(2, 1) << Values { 12, 23, 62, 102 };
        QTest::newRow("Line tool: nothing") << int(KindLine) << small << QPoint(1, 1) << Values {};
        // Longer lines stop at the pane's 2048 values.
        Values alongRow, downColumn;
        for (int i = 0; i < 2048; ++i) {
            alongRow << 30 + i % 100;
            downColumn << QList<int> { 11, 22, 61, 101 }[i % 4];
        }
        QTest::newRow("3000 wide") << int(KindHorizontal) << QSize(3000, 3) << QPoint(0, 1) << alongRow;
        QTest::newRow("3000 high") << int(KindVertical) << QSize(3, 3000) << QPoint(1, 0) << downColumn;
        QTest::newRow("3000 wide, row outside")
            << int(KindHorizontal) << QSize(3000, 3) << QPoint(0, -5) << Values(2048, 0);
    }
    void profileFollowsTheTool()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(QPoint, through);
        QFETCH(Values, profile);
        const int bases[] = { 10, 21, 60, 100 };
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                // Colour, not grey: the luma is what counts.
                const int v = bases[y % 4] + x % 100;
                picture.setPixel(x, y, qRgb(v + 1, v, v - 1));
            }
        Video video(iniPath(), kind, through, picture);

        // Room beyond the pane's 2048 values catches an overrun.
        std::vector<int> samples(2050, untouched);
        video.wnd.SampleProfile(kind == KindHorizontal || kind == KindCalibrate, samples.data());
        QCOMPARE(Values(samples.begin(), samples.begin() + profile.size()), profile);
        QVERIFY(std::all_of(samples.begin() + profile.size(), samples.end(), [](int v) { return v == untouched; }));
        QCOMPARE(video.log.messages, Messages());
    }

    void filtersAndHistogramNotices_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Messages>("notice");
        const Messages vertical { { WM_APP_UPDATE_HISTOGRAM, 0, 0 } };
        const Messages horizontal { { WM_APP_UPDATE_HISTOGRAM, 1, 1 } };
        // Monochrome tells no pane, Edge Enhance the tool's.
        QTest::newRow("Monochrome, Horizontal") << int(ID_MONOCHROME) << int(KindHorizontal) << horizontal;
        QTest::newRow("Edge Enhance, Calibrate") << int(ID_EDGE_ENHANCE) << int(KindCalibrate) << horizontal;
        QTest::newRow("Edge Enhance, Calibrate Vertical")
            << int(ID_EDGE_ENHANCE) << int(KindCalibrateVertical) << vertical;
        QTest::newRow("Edge Enhance, Horizontal") << int(ID_EDGE_ENHANCE) << int(KindHorizontal) << horizontal;
        QTest::newRow("Edge Enhance, Vertical") << int(ID_EDGE_ENHANCE) << int(KindVertical) << vertical;
        QTest::newRow("Edge Enhance, Line") << int(ID_EDGE_ENHANCE) << int(KindLine) << Messages();
        QTest::newRow("Edge Enhance, no tool") << int(ID_EDGE_ENHANCE) << 0 << Messages();
    }
    void filtersAndHistogramNotices()
    {
        QFETCH(int, command);
        QFETCH(int, kind);
        QFETCH(Messages, notice);
        QImage picture(12, 10, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(5, 5, qRgb(31, 20, 10));
        Video video(iniPath(), kind, QPoint(0, 5), picture);

        CommandState state;
        QVERIFY(video.wnd.updateCommand(command, state) && state.enabled);
        QVERIFY(video.wnd.onCommand(command));
        const QImage& image = video.wnd.FrameBuffer.image();
        // Grey 20 at the dot, or above it: Gv = (255 + 20 + 255) − 3 × 255.
        QCOMPARE(image.pixel(command == ID_MONOCHROME ? QPoint(5, 5) : QPoint(5, 4)), qRgb(20, 20, 20));
        QCOMPARE(image, plainRule(picture, command == ID_EDGE_ENHANCE));
        QCOMPARE(video.log.messages, command == ID_EDGE_ENHANCE ? notice : Messages());
        QVERIFY(video.wnd.ImageChanged());
        // The pane samples while the notice is delivered: the new image must be in place by then.
        if (!video.log.messages.isEmpty())
            QCOMPARE(video.log.seen, image);
        // The view shows the filtered image.
        video.wnd.composeView();
        const int b = video.wnd.BorderWidth;
        QCOMPARE(video.wnd.BackBuffer.image().copy(b, b, 12, 10), image);

        // A camera frame's notice arrives through the event queue.
        video.log.messages.clear();
        video.wnd.frameArrived();
        QCOMPARE(video.log.messages, Messages());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(video.log.messages, notice);
    }
};

QTEST_MAIN(TestFilters)
#include "tst_filters.moc"
