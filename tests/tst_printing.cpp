// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QPrinter>
#include <QtTest>

#include "DataRows.h"
#include "MessageLog.h"
#include "PaneScene.h"
#include "core/base/CommandIds.h"

namespace {

// The smallest rectangle that holds every pixel of `page` other than white.
QRect inkedArea(const QImage& page)
{
    QRect area;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            area |= page.pixel(x, y) != qRgb(255, 255, 255) ? QRect(x, y, 1, 1) : QRect();
    return area;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }
    void pictureFitsThePage_data()
    {
        columns<QSize, QSize, QRect, QPoint>("picture", "page", "printed", "line");
        // sx = 600 / 300 = 2 <= sy = 400 / 100 = 4: the full width, each
        // picture pixel 2 x 2 on paper, the line's (30, 10) at (60, 20).
        QTest::newRow("wide") << QSize(300, 100) << QSize(600, 400) << QRect(0, 0, 600, 200) << QPoint(60, 20);
        // sx = 600 / 100 = 6 > sy = 400 / 299: the full height, 133.8 wide truncated, never rounded up.
        QTest::newRow("tall") << QSize(100, 299) << QSize(600, 400) << QRect(0, 0, 133, 400) << QPoint();
        QTest::newRow("truncated height") << QSize(900, 299) << QSize(300, 400) << QRect(0, 0, 300, 99) << QPoint();
        QTest::newRow("thin keeps a pixel") << QSize(10000, 1) << QSize(600, 400) << QRect(0, 0, 600, 1) << QPoint();
    }
    void pictureFitsThePage()
    {
        const auto [picture, page, printed, line]
            = fetch<QSize, QSize, QRect, QPoint>("picture", "page", "printed", "line");
        // A red picture without a border, with a placed black Line from (10, 10) to (50, 10).
        PaneScene<MessageLog> pane(iniPath(), QImage(picture, QImage::Format_RGB32), 0, true);
        pane.doc().FrameBuffer.image().fill(Qt::red);
        QImage paper(page, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QVERIFY(pane.doc().PrintImage(paper));
        QCOMPARE(inkedArea(paper), printed);
        QCOMPARE(paper.pixel(printed.center()), qRgb(255, 0, 0));
        // The burnt line is on paper, the handle around its end (50, 10) is not.
        QVERIFY(line.isNull()
            || (paper.pixel(line) == qRgb(0, 0, 0) && paper.pixel(line + QPoint(34, 6)) == qRgb(255, 0, 0)));
    }

    void printCommand_data()
    {
        columns<QString, bool>("pdf", "accepted");
        QTest::newRow("one page") << "picture.pdf" << true;
        // Burnt, and not shown again over its burnt copy.
        QTest::newRow("printer wouldn't start") << "missing folder/picture.pdf" << true;
        QTest::newRow("cancelled") << "cancelled.pdf" << false;
    }
    void printCommand()
    {
        const auto [pdf, accepted] = fetch<QString, bool>("pdf", "accepted");
        const bool fails = pdf.startsWith("missing"), printed = accepted && !fails;
        PaneScene<MessageLog> pane(iniPath(), QImage(2000, 300, QImage::Format_RGB32), 0, true);
        pane.doc().FrameBuffer.image().fill(Qt::red);
        const QString path = dir.filePath(pdf);
        pane.prompts.printerSetup = [path, accepted = accepted](QPrinter& printer) {
            printer.setOutputFileName(path);
            return accepted;
        };
        QVERIFY(pane.pane.onCommand(ID_FILE_PRINT));
        QCOMPARE(pane.prompts.asked, QStringList { "print" });
        QCOMPARE(pane.prompts.messages, fails ? QStringList { "Printer wouldn't initalize" } : QStringList());
        QCOMPARE(pane.doc().FrameBuffer.image().pixel(30, 10), accepted ? qRgb(0, 0, 0) : qRgb(255, 0, 0));
        QCOMPARE(pane.doc().activeTool()->placed, !fails);
        // "/Type /Page" objects, not the "/Pages" tree; the title in UTF-16 with its byte order mark.
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?![A-Za-z])")), int(printed));
        QStringEncoder utf16(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
        QCOMPARE(bytes.contains("/Title (" + QByteArray(utf16(QStringLiteral("Scopique Picture"))) + ')'), printed);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
