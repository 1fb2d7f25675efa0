// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "app/AppMessageSink.h"
#include "app/SettingsStore.h"
#include "output/TimeFormat.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CImagePane.h"
#include "video/CVideoWnd.h"

class TestVideoWnd : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    int storedBorder(int defaultValue = -1) const
    {
        return SettingsStore(iniPath()).readInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), defaultValue);
    }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void startsBlackInsideTheStoredBorder_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("border");
        QTest::newRow("nothing stored") << -1 << 20;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("thin") << 1 << 1;
        QTest::newRow("hand-edited nonsense") << -7 << 20;
    }
    void startsBlackInsideTheStoredBorder()
    {
        QFETCH(int, stored);
        QFETCH(int, border);
        SettingsStore settings(iniPath());
        if (stored != -1)
            settings.writeInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), stored);
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);

        QCOMPARE(video.FrameBuffer.size(), QSize(640, 480));
        QCOMPARE(video.BorderWidth, border);
        const QSize view(640 + 2 * border, 480 + 2 * border);
        QCOMPARE(video.size(), view);
        video.composeView();
        const QImage& back = video.BackBuffer.image();
        QCOMPARE(back.size(), view);
        QCOMPARE(back.pixel(border + 320, border + 240), qRgb(0, 0, 0));
        if (border >= 19) {
            QCOMPARE(back.pixel(0, 0), qRgb(0, 0, 0));
            QCOMPARE(back.pixel(border / 2, border / 2 + 1), qRgb(255, 255, 255));
            QCOMPARE(back.pixel(border - 1, border + 100), qRgb(0, 0, 0));
        }
    }

    void loadingFindsAndStripsTheBorder_data()
    {
        QTest::addColumn<QSize>("fileSize");
        QTest::addColumn<QString>("software");
        QTest::addColumn<QString>("make");
        QTest::addColumn<int>("border");

        QTest::newRow("642 wide is thin") << QSize(642, 482) << QString() << QString() << 1;
        QTest::newRow("680 wide is ANSI") << QSize(680, 520) << QString() << QString() << 20;
        QTest::newRow("plain 640 x 480") << QSize(640, 480) << QString() << QString() << 0;
        QTest::newRow("saved with photo border") << QSize(838, 638) << "Scopique" << "19" << 19;
        QTest::newRow("tag wins over width") << QSize(680, 520) << "Scopique" << "7" << 7;
        QTest::newRow("make 0 falls to width") << QSize(642, 482) << "Scopique" << "0" << 1;
        QTest::newRow("implausible make") << QSize(500, 400) << "Scopique" << "200" << 0;
    }
    void loadingFindsAndStripsTheBorder()
    {
        QFETCH(QSize, fileSize);
        QFETCH(QString, software);
        QFETCH(QString, make);
        QFETCH(int, border);
        ImageTags tags;
        if (!software.isEmpty())
            tags.software = software;
        if (!make.isEmpty())
            tags.make = make;
        const QImage picture = TestImages::pattern(fileSize.width(), fileSize.height());
        const QString path = TestImages::write(dir.path(), QStringLiteral("picture.png"), picture, "png", tags);
        QVERIFY(!path.isEmpty());

        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        QVERIFY(video.LoadImageFile(path));
        QVERIFY(prompts.messages.isEmpty());

        const QSize image(fileSize.width() - 2 * border, fileSize.height() - 2 * border);
        QCOMPARE(video.FrameBuffer.size(), image);
        QCOMPARE(video.BorderWidth, border);
        QCOMPARE(storedBorder(20), border);
        QCOMPARE(video.size(), fileSize);
        // 1:1 copy without the outer ring: corners and a middle pixel.
        const QImage& frame = video.FrameBuffer.image();
        const QList<QPoint> probes {{0, 0}, {image.width() - 1, 0}, {0, image.height() - 1},
                                    {image.width() - 1, image.height() - 1}, {image.width() / 2, image.height() / 3}};
        for (const QPoint& p : probes)
            QCOMPARE(frame.pixel(p), picture.pixel(p + QPoint(border, border)));
        // The saved picture comes back as it was saved: composed at its border.
        video.composeView();
        QCOMPARE(video.BackBuffer.size(), fileSize);
        QCOMPARE(video.BackBuffer.image().pixel(border + 3, border + 4), picture.pixel(border + 3, border + 4));
    }

    void failedLoadKeepsThePicture_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QByteArray() << "missing.jpg";
        QTest::newRow("text") << QByteArray("hello, this is not a picture") << "notes.jpg";
        QTest::newRow("truncated png") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "cut.png";
    }
    void failedLoadKeepsThePicture()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        const QImage picture = TestImages::pattern(678, 518);
        QVERIFY(video.LoadImageFile(TestImages::write(dir.path(), QStringLiteral("good.png"), picture)));
        QCOMPARE(video.BorderWidth, 19);

        const QString path = content.isNull() ? dir.filePath(name) : TestImages::writeBytes(dir.path(), name, content);
        QVERIFY(!video.LoadImageFile(path));
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages.first().contains(name), qPrintable(prompts.messages.first()));
        QCOMPARE(video.BorderWidth, 19);
        QCOMPARE(storedBorder(), 19);
        QCOMPARE(video.FrameBuffer.size(), QSize(640, 480));
        QCOMPARE(video.FrameBuffer.image().pixel(10, 10), picture.pixel(29, 29));
    }

    void everyLoadSwitchesTheTitleBlockOffOnScreen()
    {
        SettingsStore settings(iniPath());
        settings.writeInt(QStringLiteral("Image"), QStringLiteral("TitleBlock"), 1);
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        QVERIFY(video.TitleBlock);
        QVERIFY(video.LoadImageFile(TestImages::write(dir.path(), QStringLiteral("a.png"), TestImages::pattern(64, 48))));
        QVERIFY(!video.TitleBlock);
        QCOMPARE(settings.readInt(QStringLiteral("Image"), QStringLiteral("TitleBlock"), -1), 1);
    }

    void dateLineIsKeptAsDrawn()
    {
        SettingsStore settings(iniPath());
        settings.writeInt(QStringLiteral("Image"), QStringLiteral("TitleBlock"), 1);
        settings.writeInt(QStringLiteral("Calibration"), QStringLiteral("Magnification"), 250);
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        QCOMPARE(video.Title3, QStringLiteral("0000-00-00-00-00-00"));
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        video.composeView();
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        const QString suffix = QStringLiteral("   250X");
        QVERIFY(video.Title3 == FormatLocalTime(before, "%Y/%m/%d %H:%M:%S") + suffix
                || video.Title3 == FormatLocalTime(after, "%Y/%m/%d %H:%M:%S") + suffix);
    }

    void composedViewShowsThePlacedTool_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("place");
        QTest::addColumn<bool>("shown");
        QTest::newRow("placed line") << int(KindLine) << true << true;
        QTest::newRow("line not yet placed") << int(KindLine) << false << false;
        QTest::newRow("open polygon") << int(KindPolygon) << true << true;
    }
    void composedViewShowsThePlacedTool()
    {
        QFETCH(int, kind);
        QFETCH(bool, place);
        QFETCH(bool, shown);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        video.FrameBuffer.image().fill(Qt::white);
        video.activeTool = ToolFactory::create(kind, settings, log);
        CTool& tool = *video.activeTool;
        if (place) {
            tool.Press(QPoint(10, 10));
            tool.Drag(QPoint(50, 10), false);
            tool.Press(QPoint(50, 40));
        } else {
            tool.points = {QPoint(0, 0), QPoint(10, 10), QPoint(50, 10)};
        }
        video.composeView();
        const int b = video.BorderWidth;
        // On the segment from (10, 10) to (50, 10), in image coordinates.
        QCOMPARE(video.BackBuffer.image().pixel(b + 30, b + 10) == qRgb(0, 0, 0), shown);
        QCOMPARE(video.BackBuffer.image().pixel(b + 30, b + 60), qRgb(255, 255, 255));
    }

    void borderIsStoredOnlyWhenItChanges()
    {
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        video.SetBorderWidth(20);
        QCOMPARE(storedBorder(), -1);
        video.SetBorderWidth(1);
        QCOMPARE(storedBorder(), 1);
        QCOMPARE(video.size(), QSize(642, 482));
        QCOMPARE(video.BackBuffer.size(), QSize(642, 482));
    }

    void lumaOfAPixel_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("luma");
        QTest::newRow("inside") << QPoint(3, 2) << 20;
        QTest::newRow("white") << QPoint(0, 0) << 255;
        QTest::newRow("left of the image") << QPoint(-1, 0) << 0;
        QTest::newRow("right of the image") << QPoint(8, 0) << 0;
        QTest::newRow("below the image") << QPoint(0, 6) << 0;
    }
    void lumaOfAPixel()
    {
        QFETCH(QPoint, at);
        QFETCH(int, luma);
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(3, 2, qRgb(31, 20, 10));
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog log;
        CVideoWnd video(settings, prompts, log);
        QVERIFY(video.LoadImageFile(TestImages::write(dir.path(), QStringLiteral("luma.png"), picture)));
        QCOMPARE(video.GetLuma(at.x(), at.y()), luma);
        video.AllocateFrameBuffer(0, 0);
        QCOMPARE(video.GetLuma(0, 0), 0);
    }

    void paneCentresAndScrollsToEveryPixel_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("fits") << QSize(640, 480) << false;
        QTest::newRow("camera picture") << QSize(2001, 1501) << true;
    }
    void paneCentresAndScrollsToEveryPixel()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, scrolls);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog sink;
        CImagePane pane(settings, prompts, sink);
        pane.resize(900, 700);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));

        const QString path = TestImages::write(dir.path(), QStringLiteral("big.png"),
                                               TestImages::pattern(picture.width(), picture.height()));
        pane.OpenImage(path);
        QCOMPARE(sink.titles, QStringList {QStringLiteral("big.png")});
        QCoreApplication::processEvents();

        const CVideoWnd& video = pane.videoWnd();
        const QSize port = pane.viewport()->size();
        QCOMPARE(video.size(), picture);
        QCOMPARE(pane.horizontalScrollBar()->isVisible(), scrolls);
        QCOMPARE(pane.verticalScrollBar()->isVisible(), scrolls);
        // Centred, overhanging both sides alike when larger.
        QCOMPARE(video.pos(), QPoint((port.width() - picture.width()) / 2, (port.height() - picture.height()) / 2));
        if (scrolls) {
            pane.horizontalScrollBar()->setValue(pane.horizontalScrollBar()->maximum());
            pane.verticalScrollBar()->setValue(pane.verticalScrollBar()->maximum());
            QCOMPARE(video.geometry().bottomRight(), QPoint(port.width() - 1, port.height() - 1));
            pane.horizontalScrollBar()->setValue(0);
            pane.verticalScrollBar()->setValue(0);
            QCOMPARE(video.pos(), QPoint(0, 0));
        }
    }
};

QTEST_MAIN(TestVideoWnd)
#include "tst_videownd.moc"
