// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QTemporaryDir>
#include <QtTest>

#include "DataRows.h"
#include "MessageLog.h"
#include "PictureView.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "core/base/SettingsStore.h"
#include "core/base/TimeFormat.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"

namespace {
const QString imageSection = QStringLiteral("Image");
}

class TestVideoWnd : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    int stored(const QString& entry) const { return SettingsStore(iniPath()).readInt(imageSection, entry, -1); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    ScriptedPrompts prompts;
    MessageLog log;

private slots:
    void init()
    {
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
        prompts = ScriptedPrompts();
        log = MessageLog();
    }
    void cleanup() { settings.reset(); }

    // The border read at start; a border set later is stored only when it changes.
    void startsBlackInsideTheStoredBorder_data()
    {
        columns<int, int>("stored", "border");
        QTest::newRow("nothing stored") << -1 << 20;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("thin") << 1 << 1;
        QTest::newRow("hand-edited nonsense") << -7 << 20;
    }
    void startsBlackInsideTheStoredBorder()
    {
        const auto [stored, border] = fetch<int, int>("stored", "border");
        const QString key = QStringLiteral("BorderWidth");
        if (stored != -1)
            settings->writeInt(imageSection, key, stored);
        PictureView shown(*settings, prompts, log);
        ImageDocument& video = shown.doc;
        QCOMPARE(video.FrameBuffer.size(), QSize(640, 480));
        QCOMPARE(video.BorderWidth, border);
        const QSize view(640 + 2 * border, 480 + 2 * border);
        QCOMPARE(shown.wnd.size(), view);
        video.composeView();
        QCOMPARE(video.BackBuffer.image().pixel(border + 320, border + 240), qRgb(0, 0, 0));
        video.SetBorderWidth(border);
        QCOMPARE(this->stored(key), stored);
        video.SetBorderWidth(border + 1);
        QCOMPARE(this->stored(key), border + 1);
        QCOMPARE(shown.wnd.size(), view + QSize(2, 2));
        QCOMPARE(video.BackBuffer.size(), view + QSize(2, 2));
    }

    void loadingFindsAndStripsTheBorder_data()
    {
        columns<QSize, QString, int>("fileSize", "make", "border");
        QTest::newRow("642 wide is thin") << QSize(642, 482) << QString() << 1;
        QTest::newRow("plain 640 x 480") << QSize(640, 480) << QString() << 0;
        QTest::newRow("saved with photo border") << QSize(838, 638) << "19" << 19;
        QTest::newRow("680 x 30 shown whole") << QSize(680, 30) << QString() << 0;
    }
    void loadingFindsAndStripsTheBorder()
    {
        const auto [fileSize, make, border] = fetch<QSize, QString, int>("fileSize", "make", "border");
        ImageTags tags;
        if (!make.isEmpty()) {
            tags.software = QStringLiteral("Scopique");
            tags.make = make;
        }
        const QImage picture = TestImages::pattern(fileSize.width(), fileSize.height());
        const QString path = TestImages::write(dir.path(), QStringLiteral("picture.png"), picture, "png", tags);
        settings->writeInt(imageSection, QStringLiteral("TitleBlock"), 1);
        PictureView shown(*settings, prompts, log);
        ImageDocument& video = shown.doc;
        QVERIFY(video.TitleBlock);
        QVERIFY(video.LoadImageFile(path));
        QVERIFY(prompts.messages.isEmpty());
        // The title block goes off on screen only.
        QVERIFY(!video.TitleBlock);
        QCOMPARE(stored(QStringLiteral("TitleBlock")), 1);

        const QSize image(fileSize.width() - 2 * border, fileSize.height() - 2 * border);
        QCOMPARE(video.FrameBuffer.size(), image);
        QCOMPARE(video.BorderWidth, border);
        QCOMPARE(stored(QStringLiteral("BorderWidth")), border);
        QCOMPARE(shown.wnd.size(), fileSize);
        // 1:1 copy without the outer ring: corners and a middle pixel.
        const QImage& frame = video.FrameBuffer.image();
        for (const QPoint& p : { QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                 QPoint(image.width() - 1, image.height() - 1), QPoint(image.width() / 2, 7) })
            QCOMPARE(frame.pixel(p), picture.pixel(p + QPoint(border, border)));
    }

    // The title block's texts as first read; the date line is written as the picture is drawn.
    void dateLineIsKeptAsDrawn()
    {
        settings->writeInt(imageSection, QStringLiteral("TitleBlock"), 1);
        settings->writeInt(QStringLiteral("Calibration"), QStringLiteral("Magnification"), 250);
        ImageDocument video(*settings, prompts, log);
        QCOMPARE((QStringList { video.Title1, video.Title2, video.Title3 }),
            (QStringList { "Your Company Name Here", "Captured Image", "0000-00-00-00-00-00" }));
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        video.composeView();
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        const QString suffix = QStringLiteral("   250X");
        QVERIFY2(video.Title3 == FormatLocalTime(before, "%Y/%m/%d %H:%M:%S") + suffix
                || video.Title3 == FormatLocalTime(after, "%Y/%m/%d %H:%M:%S") + suffix,
            qPrintable(video.Title3));
    }

    // The composed view shows a tool once it is placed; the luma is read from the picture, 0 outside it.
    void composedViewShowsThePlacedTool_data()
    {
        columns<int, bool, bool>("kind", "place", "shown");
        QTest::newRow("placed line") << int(KindLine) << true << true;
        QTest::newRow("line not yet placed") << int(KindLine) << false << false;
        QTest::newRow("open polygon") << int(KindPolygon) << true << true;
    }
    void composedViewShowsThePlacedTool()
    {
        const auto [kind, place, shown] = fetch<int, bool, bool>("kind", "place", "shown");
        ImageDocument video(*settings, prompts, log);
        video.FrameBuffer.image().fill(Qt::white);
        video.FrameBuffer.image().setPixel(3, 2, qRgb(31, 20, 10));
        video.SetActiveTool(ToolFactory::create(kind, *settings, log));
        CTool& tool = *video.activeTool();
        if (place) {
            tool.Press(QPoint(10, 10));
            tool.Drag(QPoint(50, 10), false);
            tool.Press(QPoint(50, 40));
        } else {
            tool.points = { QPoint(0, 0), QPoint(10, 10), QPoint(50, 10) };
        }
        video.composeView();
        const int b = video.BorderWidth;
        // On the segment from (10, 10) to (50, 10), in image coordinates.
        QCOMPARE(video.BackBuffer.image().pixel(b + 30, b + 10) == qRgb(0, 0, 0), shown);
        QCOMPARE(video.BackBuffer.image().pixel(b + 30, b + 60), qRgb(255, 255, 255));
        QCOMPARE(video.GetLuma(3, 2), 20);
        for (const QPoint& outside : { QPoint(-1, 2), QPoint(640, 2), QPoint(3, 480) })
            QCOMPARE(video.GetLuma(outside.x(), outside.y()), 0);
        video.AllocateFrameBuffer(0, 0);
        QCOMPARE(video.GetLuma(0, 0), 0);
    }
};

QTEST_MAIN(TestVideoWnd)
#include "tst_videownd.moc"
