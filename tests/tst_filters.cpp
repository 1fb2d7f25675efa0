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
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CVideoWnd.h"
#include "video/ImageFilters.h"

using Messages = QList<MessageLog::Message>;
using Values = QVector<int>;
using Picture = std::function<QImage()>;

namespace {

// One way of running the filters: row bands and SIMD or not.
struct Way {
    const char* name;
    int bands;
    bool vector;
};
const Way ways[] = {
    { "plain", 1, false },
    { "vector", 1, true },
    { "vector, 3 bands", 3, true },
    { "plain, 7 bands", 7, false },
    { "by size", 0, true },
};

int lumaOf(QRgb p)
{
    return (qBlue(p) + qGreen(p) + qRed(p)) / 3;
}

// The rules as written, pixel by pixel, to hold the fast ways against.
QImage plainMonochrome(const QImage& in)
{
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const int v = lumaOf(in.pixel(x, y));
            out.setPixel(x, y, qRgb(v, v, v));
        }
    return out;
}

QImage plainEdges(const QImage& in)
{
    const auto L = [&](int x, int y) {
        return x < 0 || y < 0 || x >= in.width() || y >= in.height() ? 0 : lumaOf(in.pixel(x, y));
    };
    QImage out(in.size(), QImage::Format_RGB32);
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            int gv = 0, gh = 0;
            for (int d = -1; d <= 1; ++d) {
                gv += L(x + d, y + 1) - L(x + d, y - 1);
                gh += L(x - 1, y + d) - L(x + 1, y + d);
            }
            const int v = 255 - std::min(std::abs(gv) + std::abs(gh), 255);
            out.setPixel(x, y, qRgb(v, v, v));
        }
    return out;
}

// Smooth colour with a little noise and some wild pixels, so that edge
// magnitudes fall on both sides of the limit.
QImage randomPicture(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255), noise(-6, 6), wild(0, 9);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (wild(random) == 0) {
                image.setPixel(x, y, qRgb(byte(random), byte(random), byte(random)));
                continue;
            }
            const int base = (x * 3 + y * 5) % 200 + 20;
            image.setPixel(x, y, qRgb(base + noise(random), base / 2 + noise(random), 230 - base + noise(random)));
        }
    return image;
}

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Where two pictures first differ, or an empty text.
QString firstDifference(const QImage& got, const QImage& want)
{
    if (got.size() != want.size())
        return QStringLiteral("size %1x%2, want %3x%4")
            .arg(got.width())
            .arg(got.height())
            .arg(want.width())
            .arg(want.height());
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y))
                return QStringLiteral("(%1, %2): %3, want %4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(want.pixel(x, y), 8, 16, QLatin1Char('0'));
    return {};
}

// Sentinels around the pane's 2048 values show what was written.
constexpr int untouched = -7;

} // namespace

class TestFilters : public QObject {
    Q_OBJECT

private:
    // A Video Window over a recording main window, with a tool of `kind`
    // (none for 0) whose point 1 is `through`.
    struct Video {
        Video(const QString& ini, int kind, QPoint through)
            : settings(ini)
            , wnd(settings, prompts, log)
        {
            if (kind) {
                wnd.SetActiveTool(ToolFactory::create(kind, settings, log));
                wnd.activeTool->points[1] = through;
            }
            log.messages.clear();
        }
        void show(const QImage& picture)
        {
            // Sized first, so that the view is laid out for the picture.
            wnd.AllocateFrameBuffer(picture.width(), picture.height());
            wnd.FrameBuffer.image() = picture;
        }
        SettingsStore settings;
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd wnd;
    };

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void monochromeWritesTheLuma_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("luma");
        QTest::newRow("blue 10, green 20, red 31") << qRgb(31, 20, 10) << 20;
        QTest::newRow("sum 5 rounds down") << qRgb(1, 2, 2) << 1;
        QTest::newRow("white") << qRgb(255, 255, 255) << 255;
        QTest::newRow("just below white") << qRgb(255, 254, 255) << 254;
        QTest::newRow("pure blue") << qRgb(0, 0, 255) << 85;
        QTest::newRow("black") << qRgb(0, 0, 0) << 0;
    }
    void monochromeWritesTheLuma()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, luma);
        for (const Way& way : ways) {
            // 13 wide: eight pixels at a time and five left over.
            QImage image = filled(13, 2, colour);
            ImageFilters::monochrome(image, way.bands, way.vector);
            QCOMPARE(firstDifference(image, filled(13, 2, qRgb(luma, luma, luma))), QString());
        }
    }

    void lumaIsExactForEverySum_data()
    {
        QTest::addColumn<bool>("vector");
        QTest::newRow("plain") << false;
        QTest::newRow("vector") << true;
    }
    void lumaIsExactForEverySum()
    {
        QFETCH(bool, vector);
        QImage image(766, 1, QImage::Format_RGB32);
        for (int sum = 0; sum <= 765; ++sum) {
            const int blue = std::min(sum, 255);
            const int green = std::min(sum - blue, 255);
            image.setPixel(sum, 0, qRgb(sum - blue - green, green, blue));
        }
        ImageFilters::monochrome(image, 1, vector);
        for (int sum = 0; sum <= 765; ++sum)
            QCOMPARE(image.pixel(sum, 0), qRgb(sum / 3, sum / 3, sum / 3));
    }

    void edgeEnhanceOfKnownPictures_data()
    {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<Picture>("edges");
        const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);

        QTest::newRow("uniform grey 128: white inside a black outline")
            << Picture([] { return filled(23, 11, qRgb(128, 128, 128)); }) << Picture([=] {
                   QImage out = filled(23, 11, black);
                   for (int y = 1; y < 10; ++y)
                       for (int x = 1; x < 22; ++x)
                           out.setPixel(x, y, white);
                   return out;
               });
        QTest::newRow("uniform black: all white")
            << Picture([] { return filled(19, 7, qRgb(0, 0, 0)); }) << Picture([=] { return filled(19, 7, white); });
        QTest::newRow("vertical line: black on both sides, white on it") << Picture([] {
            QImage in = filled(21, 9, qRgb(0, 0, 0));
            for (int y = 0; y < 9; ++y)
                in.setPixel(10, y, qRgb(255, 255, 255));
            return in;
        }) << Picture([=] {
            QImage out = filled(21, 9, white);
            for (int y = 0; y < 9; ++y) {
                out.setPixel(9, y, black);
                out.setPixel(11, y, black);
            }
            // Where the line ends, the row beyond the image is black.
            out.setPixel(10, 0, black);
            out.setPixel(10, 8, black);
            return out;
        });
        QTest::newRow("odd width 641: a dot stays where it was") << Picture([] {
            QImage in = filled(641, 480, qRgb(0, 0, 0));
            in.setPixel(639, 5, qRgb(255, 255, 255));
            return in;
        }) << Picture([=] {
            QImage out = filled(641, 480, white);
            for (int y = 4; y <= 6; ++y)
                for (int x = 638; x <= 640; ++x)
                    out.setPixel(x, y, black);
            out.setPixel(639, 5, white);
            return out;
        });
    }
    void edgeEnhanceOfKnownPictures()
    {
        QFETCH(Picture, picture);
        QFETCH(Picture, edges);
        const QImage in = picture();
        const QImage want = edges();
        for (const Way& way : ways) {
            QImage result;
            ImageFilters::edgeEnhance(in, result, way.bands, way.vector);
            QVERIFY2(
                firstDifference(result, want).isEmpty(), qPrintable(way.name + (": " + firstDifference(result, want))));
        }
    }

    void fastWaysMatchThePlainRule_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bands");
        QTest::addColumn<bool>("vector");
        for (const QSize size : { QSize(1, 1), QSize(2, 3), QSize(9, 8), QSize(641, 480), QSize(17, 1025) })
            for (const Way& way : ways)
                QTest::addRow("%dx%d %s", size.width(), size.height(), way.name) << size << way.bands << way.vector;
        // From a million pixels on, every core takes a band by default.
        QTest::newRow("1001x1000 by size") << QSize(1001, 1000) << 0 << true;
    }
    void fastWaysMatchThePlainRule()
    {
        QFETCH(QSize, size);
        QFETCH(int, bands);
        QFETCH(bool, vector);
        const QImage in = randomPicture(size.width(), size.height(), unsigned(size.width() * 7919 + size.height()));

        QImage grey = in.copy();
        ImageFilters::monochrome(grey, bands, vector);
        QCOMPARE(firstDifference(grey, plainMonochrome(in)), QString());

        // The result buffer is reused and holds old pixels.
        QImage edges = filled(size.width(), size.height(), qRgb(1, 2, 3));
        ImageFilters::edgeEnhance(in, edges, bands, vector);
        QCOMPARE(firstDifference(edges, plainEdges(in)), QString());
        QCOMPARE(firstDifference(
                     in, randomPicture(size.width(), size.height(), unsigned(size.width() * 7919 + size.height()))),
            QString());
    }

    void profileFollowsTheTool_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("through");
        QTest::addColumn<Values>("profile");

        // The picture (below) is 5 x 4; each row's luma is its base plus x.
        QTest::newRow("row 0: itself and the row below")
            << int(KindHorizontal) << QPoint(3, 0) << Values { 15, 16, 17, 18, 19 };
        QTest::newRow("row 1: three rows") << int(KindHorizontal) << QPoint(-40, 1) << Values { 30, 31, 32, 33, 34 };
        QTest::newRow("last row: itself and the row above")
            << int(KindCalibrate) << QPoint(0, 3) << Values { 80, 81, 82, 83, 84 };
        QTest::newRow("row above the image: zeros") << int(KindHorizontal) << QPoint(2, -5) << Values { 0, 0, 0, 0, 0 };
        QTest::newRow("row below the image: zeros") << int(KindCalibrate) << QPoint(2, 4) << Values { 0, 0, 0, 0, 0 };
        QTest::newRow("column 0: itself and the one right")
            << int(KindVertical) << QPoint(0, 9) << Values { 10, 21, 60, 100 };
        QTest::newRow("column 2: three columns")
            << int(KindCalibrateVertical) << QPoint(2, 1) << Values { 12, 23, 62, 102 };
        QTest::newRow("last column") << int(KindVertical) << QPoint(4, 0) << Values { 13, 24, 63, 103 };
        QTest::newRow("column right of the image: zeros") << int(KindVertical) << QPoint(5, 0) << Values { 0, 0, 0, 0 };
        QTest::newRow("Line tool: nothing") << int(KindLine) << QPoint(1, 1) << Values {};
        QTest::newRow("Text tool: nothing") << int(KindText) << QPoint(1, 1) << Values {};
        QTest::newRow("no tool: nothing") << 0 << QPoint(1, 1) << Values {};
    }
    void profileFollowsTheTool()
    {
        QFETCH(int, kind);
        QFETCH(QPoint, through);
        QFETCH(Values, profile);
        const int bases[] = { 10, 21, 60, 100 };
        QImage picture(5, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const int v = bases[y] + x;
                // Colour, not grey: the luma is what counts.
                picture.setPixel(x, y, qRgb(v + 1, v, v - 1));
            }
        Video video(iniPath(), kind, through);
        video.show(picture);

        std::vector<int> samples(2048, untouched);
        video.wnd.SampleProfile(kind == KindHorizontal || kind == KindCalibrate, samples.data());
        QCOMPARE(Values(samples.begin(), samples.begin() + profile.size()), profile);
        QVERIFY(std::all_of(samples.begin() + profile.size(), samples.end(), [](int v) { return v == untouched; }));
        QCOMPARE(video.log.messages, Messages());
    }

    void profileStopsAt2048_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("through");
        QTest::addColumn<int>("written");
        QTest::newRow("3000 wide, along a row") << int(KindHorizontal) << QSize(3000, 3) << QPoint(0, 1) << 2048;
        QTest::newRow("3000 high, down a column") << int(KindVertical) << QSize(3, 3000) << QPoint(1, 0) << 2048;
        QTest::newRow("3000 wide, row outside") << int(KindHorizontal) << QSize(3000, 3) << QPoint(0, -5) << 2048;
        QTest::newRow("640 wide leaves the rest") << int(KindCalibrate) << QSize(640, 3) << QPoint(0, 2) << 640;
        QTest::newRow("empty image") << int(KindHorizontal) << QSize(0, 0) << QPoint(0, 0) << 0;
    }
    void profileStopsAt2048()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(QPoint, through);
        QFETCH(int, written);
        const bool alongRow = kind != KindVertical;
        // Grey rising by one per position along the line.
        QImage picture;
        if (!size.isEmpty()) {
            picture = QImage(size, QImage::Format_RGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const int v = (alongRow ? x : y) % 256;
                    picture.setPixel(x, y, qRgb(v, v, v));
                }
        }
        Video video(iniPath(), kind, through);
        video.show(picture);

        // Room beyond the pane's 2048 values catches an overrun.
        std::vector<int> samples(2050, untouched);
        video.wnd.SampleProfile(alongRow, samples.data());
        const bool inside = alongRow ? through.y() >= 0 : through.x() >= 0;
        for (int i = 0; i < written; ++i)
            QCOMPARE(samples[size_t(i)], inside ? i % 256 : 0);
        for (size_t i = size_t(written); i < samples.size(); ++i)
            QCOMPARE(samples[i], untouched);
    }

    void histogramNoticeNamesTheToolsPane_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Messages>("sent");
        const Messages vertical { { WM_APP_UPDATE_HISTOGRAM, 0, 0 } };
        const Messages horizontal { { WM_APP_UPDATE_HISTOGRAM, 1, 1 } };
        QTest::newRow("Calibrate") << int(KindCalibrate) << horizontal;
        QTest::newRow("Calibrate Vertical") << int(KindCalibrateVertical) << vertical;
        QTest::newRow("Horizontal") << int(KindHorizontal) << horizontal;
        QTest::newRow("Vertical") << int(KindVertical) << vertical;
        QTest::newRow("Line") << int(KindLine) << Messages();
        QTest::newRow("Polygon") << int(KindPolygon) << Messages();
        QTest::newRow("Arrow") << int(KindArrow) << Messages();
        QTest::newRow("no tool") << 0 << Messages();
    }
    void histogramNoticeNamesTheToolsPane()
    {
        QFETCH(int, kind);
        QFETCH(Messages, sent);
        Video video(iniPath(), kind, QPoint(10, 10));
        video.wnd.NotifyHistogram();
        QCOMPARE(video.log.messages, sent);

        // The window's own notice arrives through the event queue.
        video.log.messages.clear();
        video.wnd.postUpdateHistogram();
        QCOMPARE(video.log.messages, Messages());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(video.log.messages, sent);
    }

    void filterCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QRgb>("atDot");
        QTest::addColumn<QRgb>("besideDot");
        QTest::addColumn<Messages>("sent");
        // The picture: white, one pixel (10, 20, 31) at (5, 5), the tool through row 5.
        const Messages horizontal { { WM_APP_UPDATE_HISTOGRAM, 1, 1 } };
        // Above the pixel: Gv = (255 + 20 + 255) − 3 × 255, Gh = 0. The pixel
        // itself is in neither sum and stays white.
        const QRgb edge = qRgb(20, 20, 20);
        QTest::newRow("Monochrome: grey, no notice")
            << int(ID_MONOCHROME) << int(KindHorizontal) << qRgb(20, 20, 20) << qRgb(255, 255, 255) << Messages();
        QTest::newRow("Edge Enhance, Horizontal: edges, notice")
            << int(ID_EDGE_ENHANCE) << int(KindHorizontal) << qRgb(255, 255, 255) << edge << horizontal;
        QTest::newRow("Edge Enhance, Vertical") << int(ID_EDGE_ENHANCE) << int(KindVertical) << qRgb(255, 255, 255)
                                                << edge << Messages { { WM_APP_UPDATE_HISTOGRAM, 0, 0 } };
        QTest::newRow("Edge Enhance, Line: no notice")
            << int(ID_EDGE_ENHANCE) << int(KindLine) << qRgb(255, 255, 255) << edge << Messages();
    }
    void filterCommands()
    {
        QFETCH(int, command);
        QFETCH(int, kind);
        QFETCH(QRgb, atDot);
        QFETCH(QRgb, besideDot);
        QFETCH(Messages, sent);
        Video video(iniPath(), kind, QPoint(0, 5));
        QImage picture = filled(12, 10, qRgb(255, 255, 255));
        picture.setPixel(5, 5, qRgb(31, 20, 10));
        video.show(picture);

        CommandState state;
        QVERIFY(video.wnd.updateCommand(command, state));
        QVERIFY(state.enabled);
        QVERIFY(video.wnd.onCommand(command));
        QCOMPARE(video.wnd.FrameBuffer.image().pixel(5, 5), atDot);
        QCOMPARE(video.wnd.FrameBuffer.image().pixel(5, 4), besideDot);
        QCOMPARE(video.wnd.FrameBuffer.size(), QSize(12, 10));
        QCOMPARE(video.log.messages, sent);
        QVERIFY(!video.wnd.ImageChanged);
        // The view shows the filtered image.
        const int b = video.wnd.BorderWidth;
        QCOMPARE(video.wnd.BackBuffer.image().pixel(b + 5, b + 4), besideDot);
    }

    void edgeNoticeSeesTheNewImage()
    {
        // The pane samples while the notice is delivered: the image must be
        // the edge image by then.
        struct Sampling : MessageLog {
            CVideoWnd* video = nullptr;
            Values profile;
            qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override
            {
                if (message == WM_APP_UPDATE_HISTOGRAM) {
                    std::vector<int> samples(2048, untouched);
                    video->SampleProfile(wParam != 0, samples.data());
                    profile = Values(samples.begin(), samples.begin() + 4);
                }
                return MessageLog::send(message, wParam, lParam);
            }
        } log;
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        CVideoWnd video(settings, prompts, log);
        log.video = &video;
        video.AllocateFrameBuffer(4, 3);
        video.FrameBuffer.image().fill(qRgb(128, 128, 128));
        video.SetActiveTool(ToolFactory::create(KindHorizontal, settings, log));
        video.activeTool->points[1] = QPoint(0, 1);
        video.onCommand(ID_EDGE_ENHANCE);
        // Row 1 of the edge image: black outline, white inside; rows 0 and 2 black.
        QCOMPARE(log.profile, (Values { 0, 85, 85, 0 }));
    }

    void filtersRunRepeatedlyAndOnNothing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("corner");
        QTest::newRow("empty") << QSize(0, 0) << QRgb(0);
        // A lone pixel's own luma is in no sum: it always comes out white.
        QTest::newRow("one pixel") << QSize(1, 1) << qRgb(255, 255, 255);
        QTest::newRow("640 x 480") << QSize(640, 480) << qRgb(0, 0, 0);
    }
    void filtersRunRepeatedlyAndOnNothing()
    {
        QFETCH(QSize, size);
        QFETCH(QRgb, corner);
        Video video(iniPath(), KindVertical, QPoint(0, 0));
        video.wnd.AllocateFrameBuffer(size.width(), size.height());
        for (int i = 0; i < 3; ++i) {
            QVERIFY(video.wnd.onCommand(ID_EDGE_ENHANCE));
            QVERIFY(video.wnd.onCommand(ID_MONOCHROME));
        }
        QCOMPARE(video.wnd.FrameBuffer.size(), size);
        if (!size.isEmpty()) {
            QCOMPARE(video.wnd.FrameBuffer.image().pixel(0, 0), corner);
            QCOMPARE(video.wnd.FrameBuffer.image().pixel(size.width() / 2, size.height() / 2), qRgb(255, 255, 255));
        }
        QCOMPARE(video.log.messages, Messages(3, { WM_APP_UPDATE_HISTOGRAM, 0, 0 }));
    }
};

QTEST_MAIN(TestFilters)
#include "tst_filters.moc"
