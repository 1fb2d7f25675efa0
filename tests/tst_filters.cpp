// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere

#include <QtTest>

#include "DataRows.h"
#include "MessageLog.h"
#include "PaneScene.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/video/ImageFilters.h"

using Messages = QList<MessageLog::Message>;
using Values = QVector<int>;

using TestImages::made;

namespace {

constexpr QRgb kWhite = 0xffffffffu, kBlack = 0xff000000u;

// The ways of running the filters: row bands and SIMD or not.
const std::tuple<const char*, int, bool> ways[] = { { "plain", 1, false }, { "vector", 1, true },
    { "vector, 3 bands", 3, true }, { "plain, 7 bands", 7, false }, { "by size", 0, true } };

// The rules as written, pixel by pixel, to hold the fast ways against:
// the luma, or with `edges` the edge grey from the lumas around.
QImage plainRule(const QImage& in, bool edges)
{
    const auto L = [&](int x, int y) {
        const QRgb p = in.valid(x, y) ? in.pixel(x, y) : 0;
        return (qBlue(p) + qGreen(p) + qRed(p)) / 3;
    };
    return made(in.size(), [&](int x, int y) {
        int gv = 0, gh = 0;
        for (int d = -1; d <= 1; ++d) {
            gv += L(x + d, y + 1) - L(x + d, y - 1);
            gh += L(x - 1, y + d) - L(x + 1, y + d);
        }
        const int v = edges ? 255 - std::min(std::abs(gv) + std::abs(gh), 255) : L(x, y);
        return qRgb(v, v, v);
    });
}

// Smooth colour with a little noise and some wild pixels, so that edge
// magnitudes fall on both sides of the limit.
QImage randomPicture(QSize size)
{
    std::mt19937 random(unsigned(size.width() * 7919 + size.height()));
    return made(size, [&](int x, int y) {
        const int base = (x * 3 + y * 5) % 200 + 20, noise = int(random() % 13) - 6;
        return random() % 10 == 0 ? QRgb(random()) : qRgb(base + noise, base / 2 - noise, 230 - base);
    });
}

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

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void filtersMatchTheRule_data()
    {
        columns<QImage, QImage>("in", "edges");
        // Eight pixels at a time and some left over; more rows than bands;
        // from a million pixels on, every core takes a band by default.
        for (const QSize size :
            { QSize(0, 0), QSize(1, 1), QSize(2, 3), QSize(9, 8), QSize(17, 1025), QSize(1001, 1000) })
            QTest::addRow("%dx%d", size.width(), size.height())
                << randomPicture(size) << plainRule(randomPicture(size), true);
        const QImage sums = made({ 766, 1 }, [](int sum, int) {
            const int blue = std::min(sum, 255), green = std::min(sum - blue, 255);
            return qRgb(sum - blue - green, green, blue);
        });
        QTest::newRow("every sum of blue, green and red") << sums << plainRule(sums, true);
        QTest::newRow("uniform grey 128: white inside a black outline")
            << made({ 23, 11 }, [](int, int) { return qRgb(128, 128, 128); })
            << made({ 23, 11 }, [](int x, int y) { return x % 22 && y % 10 ? kWhite : kBlack; });
        // Where the line ends, the row beyond the image is black.
        QTest::newRow("vertical line: black on both sides, white on it")
            << made({ 21, 9 }, [](int x, int) { return x == 10 ? kWhite : kBlack; })
            << made({ 21, 9 },
                   [](int x, int y) { return x == 9 || x == 11 || (x == 10 && y % 8 == 0) ? kBlack : kWhite; });
    }
    void filtersMatchTheRule()
    {
        const auto [in, edges] = fetch<QImage, QImage>("in", "edges");
        const QImage grey = plainRule(in, false);
        for (const auto& [way, bands, vector] : ways) {
            QImage result = in.copy();
            ImageFilters::monochrome(result, bands, vector);
            QVERIFY2(result == grey, way);
            // The result buffer is reused and holds old pixels.
            result.fill(qRgb(1, 2, 3));
            ImageFilters::edgeEnhance(in, result, bands, vector);
            QVERIFY2(result == edges, way);
        }
    }

    // The profile sampled along the tool, and the notice the tool's pane is sent when a filter has run
    // (Monochrome tells no pane) and when a camera frame arrives (through the event queue).
    void profileAndNotices_data()
    {
        columns<int, QSize, QPoint, Values, int>("kind", "size", "through", "profile", "command");
        const auto row = [](const char* name, int kind, QSize size, QPoint through, const Values& profile,
                             int command = ID_EDGE_ENHANCE) {
            QTest::newRow(name) << kind << size << through << profile << command;
        };
        // Row y's luma is 10, 21, 60 or 100 (for y mod 4) plus x mod 100.
        const QSize small(5, 4);
        row("row 0: itself and the row below", KindHorizontal, small, { 3, 0 }, { 15, 16, 17, 18, 19 }, ID_MONOCHROME);
        row("row 1: three rows", KindHorizontal, small, { -40, 1 }, { 30, 31, 32, 33, 34 });
        row("row below the image: zeros", KindCalibrate, small, { 2, 4 }, Values(5, 0));
        row("column 0: itself and the one right", KindVertical, small, { 0, 9 }, { 10, 21, 60, 100 });
        row("column 2: three columns", KindCalibrateVertical, small, { 2, 1 }, { 12, 23, 62, 102 });
        row("Line tool: nothing", KindLine, small, { 1, 1 }, {});
        row("no tool: nothing", 0, small, {}, {});
        // Longer lines stop at the pane's 2048 values.
        Values alongRow, downColumn;
        for (int i = 0; i < 2048; ++i) {
            alongRow << 30 + i % 100;
            downColumn << QList<int> { 11, 22, 61, 101 }[i % 4];
        }
        row("3000 wide", KindHorizontal, { 3000, 3 }, { 0, 1 }, alongRow);
        row("3000 high", KindVertical, { 3, 3000 }, { 1, 0 }, downColumn);
        row("3000 wide, row outside", KindHorizontal, { 3000, 3 }, { 0, -5 }, Values(2048, 0));
    }
    void profileAndNotices()
    {
        const auto [kind, size, through, profile, command]
            = fetch<int, QSize, QPoint, Values, int>("kind", "size", "through", "profile", "command");
        // Colour, not grey: the luma is what counts.
        const QImage picture = made(size, [](int x, int y) {
            const int v = QList<int> { 10, 21, 60, 100 }[y % 4] + x % 100;
            return qRgb(v + 1, v, v - 1);
        });
        PaneScene<NoticeLog> video(iniPath(), picture, 20);
        if (kind) {
            video.doc().SetActiveTool(ToolFactory::create(kind, video.settings, video.sink));
            video.doc().activeTool()->points[1] = through;
        }
        video.sink.messages.clear();
        video.sink.video = &video.doc();
        // Room beyond the pane's 2048 values catches an overrun.
        Values samples(2050, -7);
        const bool horizontal = kind == KindHorizontal || kind == KindCalibrate;
        video.doc().SampleProfile(horizontal, samples.data());
        QCOMPARE(samples, profile + Values(2050 - profile.size(), -7));
        QCOMPARE(video.sink.messages, Messages());

        const bool profiled = horizontal || kind == KindVertical || kind == KindCalibrateVertical;
        const Messages notice(profiled ? 1 : 0, { WM_APP_UPDATE_HISTOGRAM, horizontal, horizontal });
        CommandState state;
        QVERIFY(video.doc().updateCommand(command, state) && state.enabled);
        QVERIFY(video.doc().onCommand(command));
        const QImage& image = video.doc().FrameBuffer.image();
        QCOMPARE(image, plainRule(picture, command == ID_EDGE_ENHANCE));
        QVERIFY(video.doc().ImageChanged());
        QCOMPARE(video.sink.messages, command == ID_EDGE_ENHANCE ? notice : Messages());
        // The pane samples while the notice is delivered: the new image must be in place by then.
        QVERIFY(video.sink.messages.isEmpty() || video.sink.seen == image);
        // The view shows the filtered image.
        video.doc().composeView();
        QCOMPARE(video.doc().BackBuffer.image().copy(QRect(QPoint(20, 20), size)), image);
        video.sink.messages.clear();
        video.doc().frameArrived();
        QCOMPARE(video.sink.messages, Messages());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(video.sink.messages, notice);
    }
};

QTEST_MAIN(TestFilters)
#include "tst_filters.moc"
