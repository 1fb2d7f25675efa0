// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "output/PrintLayout.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CImagePane.h"
#include "video/CVideoWnd.h"

namespace {

// The smallest rectangle that holds every pixel of `page` other than white.
QRect inkedArea(const QImage& page)
{
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

// Pages in a PDF: "/Type /Page" objects, not the "/Pages" tree.
int pageCount(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"))));
}

// A PDF text string as Qt writes it: UTF-16, big-endian, with its byte order mark.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text)
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    return bytes;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    // An image pane whose picture is w x h and red, without a border, with a
    // placed black Line from (10, 10) to (50, 10) when asked.
    struct Pane {
        Pane(const QString& ini, QSize picture, bool withLine)
            : settings(ini)
            , pane(settings, prompts, log)
        {
            video().SetBorderWidth(0);
            video().AllocateFrameBuffer(picture.width(), picture.height());
            video().FrameBuffer.image().fill(Qt::red);
            if (withLine) {
                video().SetActiveTool(ToolFactory::create(KindLine, settings, log));
                video().activeTool->Press(QPoint(10, 10));
                video().activeTool->Drag(QPoint(50, 10), false);
                video().activeTool->current = -1;
            }
        }
        CVideoWnd& video() { return pane.videoWnd(); }
        SettingsStore settings;
        ScriptedPrompts prompts;
        MessageLog log;
        CImagePane pane;
    };

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void pictureFitsThePage_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<QRect>("printed");
        // sx = 600 / 300 = 2 <= sy = 400 / 100 = 4: the full width.
        QTest::newRow("wide") << QSize(300, 100) << QSize(600, 400) << QRect(0, 0, 600, 200);
        // sx = 600 / 100 = 6 > sy = 400 / 300: the full height, 100 x 4/3 truncated.
        QTest::newRow("tall") << QSize(100, 300) << QSize(600, 400) << QRect(0, 0, 133, 400);
        QTest::newRow("same ratio") << QSize(150, 100) << QSize(600, 400) << QRect(0, 0, 600, 400);
        QTest::newRow("larger than the page") << QSize(1200, 500) << QSize(600, 400) << QRect(0, 0, 600, 250);
        // 300 x 400 / 900 = 133.3: truncated, never rounded up.
        QTest::newRow("truncated height") << QSize(900, 299) << QSize(300, 400) << QRect(0, 0, 300, 99);
    }
    void pictureFitsThePage()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, page);
        QFETCH(QRect, printed);
        Pane pane(iniPath(), picture, false);
        QImage paper(page, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QVERIFY(pane.video().PrintImage(paper));
        QCOMPARE(inkedArea(paper), printed);
        QCOMPARE(paper.pixel(printed.center()), qRgb(255, 0, 0));
        QCOMPARE(pane.prompts.messages, QStringList());
    }

    void thinPictureKeepsAPixel()
    {
        QCOMPARE(PrintLayout::fit(QSize(1, 10000), QSize(600, 400)), QRect(0, 0, 1, 400));
        QCOMPARE(PrintLayout::fit(QSize(10000, 1), QSize(600, 400)), QRect(0, 0, 600, 1));
    }

    void printCommandPrintsOnePage_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::newRow("wide") << QSize(2000, 300);
        QTest::newRow("tall") << QSize(300, 2000);
    }
    void printCommandPrintsOnePage()
    {
        QFETCH(QSize, picture);
        Pane pane(iniPath(), picture, true);
        const QString pdf = dir.filePath(QStringLiteral("picture.pdf"));
        QFile::remove(pdf);
        pane.prompts.printerSetup = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        CommandState state;
        QVERIFY(pane.pane.updateCommand(ID_FILE_PRINT, state) && state.enabled);
        QVERIFY(pane.pane.onCommand(ID_FILE_PRINT));
        QCOMPARE(pane.prompts.asked, QStringList {"print"});
        QCOMPARE(pageCount(pdf), 1);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("/Title (" + pdfText(QStringLiteral("Scopique Picture")) + ')'));
        QVERIFY(pane.prompts.messages.isEmpty());
        // Burnt in, and shown again over its burnt copy.
        QCOMPARE(pane.video().FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
        QVERIFY(pane.video().activeTool->placed);
    }

    void printedPageShowsTheTool()
    {
        Pane pane(iniPath(), QSize(200, 100), true);
        // Twice the picture's size: every picture pixel is 2 x 2 on paper.
        QImage paper(400, 200, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QVERIFY(pane.video().PrintImage(paper));
        QCOMPARE(paper.pixel(60, 20), qRgb(0, 0, 0));
        QCOMPARE(paper.pixel(60, 60), qRgb(255, 0, 0));
        // The live tool's handles are not on paper.
        QImage again(400, 200, QImage::Format_RGB32);
        again.fill(Qt::white);
        QVERIFY(pane.video().PrintImage(again));
        QCOMPARE(again, paper);
    }

    void printerThatCannotStart()
    {
        Pane pane(iniPath(), QSize(200, 100), true);
        const QString pdf = dir.filePath(QStringLiteral("missing folder/picture.pdf"));
        pane.prompts.printerSetup = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        pane.pane.onCommand(ID_FILE_PRINT);
        QCOMPARE(pane.prompts.messages, QStringList {"Printer wouldn't initalize"});
        QVERIFY(!QFileInfo::exists(pdf));
        // The tool stays burnt and is not shown again.
        QCOMPARE(pane.video().FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
        QVERIFY(!pane.video().activeTool->placed);
    }

    void cancelledPrintBurnsNothing()
    {
        Pane pane(iniPath(), QSize(200, 100), true);
        pane.pane.onCommand(ID_FILE_PRINT);
        QCOMPARE(pane.prompts.asked, QStringList {"print"});
        QCOMPARE(pane.video().FrameBuffer.image().pixel(30, 10), qRgb(255, 0, 0));
        QVERIFY(pane.video().activeTool->placed);
        QVERIFY(pane.prompts.messages.isEmpty());
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
