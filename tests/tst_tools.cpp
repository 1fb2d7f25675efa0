// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <algorithm>
#include <memory>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedToolDialogs.h"
#include "app/SettingsStore.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"

using Points = QList<QPoint>;
using Messages = QList<MessageLog::Message>;
enum : unsigned { XY = WM_APP_SET_XY, MARK = WM_APP_SET_HISTOGRAM_MARK, UPDATE = WM_APP_UPDATE_HISTOGRAM };

struct PressCase {
    int kind;
    Points presses, points;
    int current;
    Messages sent {};
};
struct DragCase {
    int kind, grab;
    QPoint to;
    bool moveAll;
    Points points;
    Messages sent {};
};
struct LabelCase {
    int kind;
    Points points;
    QString label;
    double scaleX = 1, scaleY = 1;
    int units = 0, display = 0;
    double pixelLength = -1; // negative: not checked
};
struct StyleCase {
    int kind;
    QVariantMap stored;
    QList<int> style; // tool, text, highlight and shadow colours, textStyle, face, size
    QString family;
    int height;
};
struct EditCase {
    int kind;
    bool accept;
    ScriptedToolDialogs::Change change;
    QString dialog;
    QVariantMap section; // the store held TextColor 0x123456 before
};
Q_DECLARE_METATYPE(PressCase)
Q_DECLARE_METATYPE(DragCase)
Q_DECLARE_METATYPE(LabelCase)
Q_DECLARE_METATYPE(StyleCase)
Q_DECLARE_METATYPE(EditCase)

namespace {

const QRgb yellow = qRgb(255, 255, 0);

// Points from x, y pairs.
Points pts(const QList<int>& xy)
{
    Points points;
    for (int i = 0; i + 1 < xy.size(); i += 2)
        points << QPoint(xy[i], xy[i + 1]);
    return points;
}

// The pixels, row by row, of GDI lines given as x1, y1, x2, y2 (straight or
// 45 degrees), each without its end pixel.
Points px(const QList<int>& xy)
{
    Points pixels;
    for (int i = 0; i + 3 < xy.size(); i += 4) {
        const QPoint from(xy[i], xy[i + 1]), d = QPoint(xy[i + 2], xy[i + 3]) - from;
        const int steps = qMax(qAbs(d.x()), qAbs(d.y()));
        for (int k = 0; k < steps; ++k)
            pixels << from + d * k / steps;
    }
    std::sort(pixels.begin(), pixels.end(),
        [](QPoint a, QPoint b) { return qMakePair(a.y(), a.x()) < qMakePair(b.y(), b.x()); });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

QImage render(CTool& tool)
{
    QImage image(340, 340, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    tool.Draw(painter);
    return image;
}

Points pixelsOf(const QImage& image, QRgb colour, QRect* bounds = nullptr)
{
    Points found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                found << QPoint(x, y);
    for (const QPoint& p : found)
        if (bounds)
            *bounds |= QRect(p, QSize(1, 1));
    return found;
}

// A hollow 7 x 7 yellow square centred on `c`.
bool handleAt(const QImage& image, QPoint c)
{
    for (int d = -3; d <= 3; ++d)
        for (QPoint q : { QPoint(d, -3), QPoint(d, 3), QPoint(-3, d), QPoint(3, d) })
            if (image.pixel(c + q) != yellow)
                return false;
    const auto clear = [&](int x, int y) { return image.pixel(c + QPoint(x, y)) != yellow; };
    return clear(4, 0) && clear(-4, 0) && clear(0, 4) && clear(0, -4) && clear(2, 2);
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    MessageLog log;

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    std::unique_ptr<CTool> make(int kind) { return ToolFactory::create(kind, *settings, log); }
    std::unique_ptr<CTool> place(int kind, const Points& points, int current = -1)
    {
        auto tool = make(kind);
        tool->points = points;
        tool->placed = true;
        tool->current = current;
        return tool;
    }
    void preset(const QVariantMap& values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings->writeInt(QStringLiteral("Tool"), it.key(), it.value().toInt());
    }
    // The "Tool" section as the INI file holds it.
    QVariantMap toolSection() const
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Tool"));
        QVariantMap values;
        for (const QString& key : ini.childKeys())
            values.insert(key, ini.value(key).toInt());
        return values;
    }

private slots:
    void init()
    {
        settings.reset();
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
        log.messages.clear();
    }

    void firstPress_data()
    {
        QTest::addColumn<PressCase>("c");
        QTest::newRow("line") << PressCase { KindLine, pts({ 100, 50 }), pts({ 100, 60, 100, 50, 100, 50 }), 2 };
        QTest::newRow("horizontal") << PressCase { KindHorizontal, pts({ 200, 100 }),
            pts({ 200, 130, 200, 100, 210, 100, 180, 100, 230, 100 }), 1,
            { { UPDATE, 1, 1 }, { WM_APP_SHOW_HISTOGRAM, 1, 1 }, { MARK, 1, 210 }, { XY, 210, 100 }, { MARK, 0, 200 },
                { XY, 200, 100 } } };
        QTest::newRow("label at 460") << PressCase { KindCalibrate, pts({ 0, 430 }),
            pts({ 0, 460, 0, 430, 10, 430, -20, 430, 30, 430 }), 1 };
        QTest::newRow("label above") << PressCase { KindHorizontal, pts({ 0, 440 }),
            pts({ 0, 400, 0, 440, 10, 440, -20, 440, 30, 440 }), 1 };
        QTest::newRow("vertical") << PressCase { KindVertical, pts({ 0, 450 }),
            pts({ 30, 450, 0, 450, 0, 460, 0, 430, 0, 480 }), 1,
            { { UPDATE, 0, 0 }, { WM_APP_SHOW_HISTOGRAM, 0, 1 }, { MARK, 3, 460 }, { XY, 0, 460 }, { MARK, 2, 450 },
                { XY, 0, 450 } } };
        QTest::newRow("circle") << PressCase { KindCircle, pts({ 50, 50 }), pts({ 50, 60, 50, 50, 50, 50 }), 2 };
        QTest::newRow("angle") << PressCase { KindAngle, pts({ 30, 40 }), pts({ 30, 50, 30, 40, 30, 40, 50, 40 }), 2 };
        QTest::newRow("polygon") << PressCase { KindPolygon, pts({ 30, 40 }), pts({ 30, 50, 30, 40, 30, 40 }), 2 };
        QTest::newRow("polygon twice") << PressCase { KindPolygon, pts({ 30, 40, 70, 80 }),
            pts({ 30, 50, 30, 40, 30, 40, 70, 80 }), 3 };
        // Later presses pick the handle within 3 pixels, left and top inclusive, lowest index first.
        const Points line = pts({ 100, 60, 100, 50, 100, 50 });
        QTest::newRow("3 right hits") << PressCase { KindLine, pts({ 100, 50, 103, 50 }), line, 1 };
        QTest::newRow("3 below hits") << PressCase { KindLine, pts({ 100, 50, 100, 53 }), line, 1 };
        QTest::newRow("3 left misses") << PressCase { KindLine, pts({ 100, 50, 97, 50 }), line, -1 };
        QTest::newRow("3 above misses") << PressCase { KindLine, pts({ 100, 50, 100, 47 }), line, -1 };
        QTest::newRow("2 left hits") << PressCase { KindLine, pts({ 100, 50, 98, 50 }), line, 1 };
        QTest::newRow("label") << PressCase { KindLine, pts({ 100, 50, 102, 62 }), line, 0 };
        for (int kind : { KindReticule, KindText, KindArrow })
            QTest::addRow("kind %d", kind) << PressCase { kind, pts({ 7, 8 }), pts({ 7, 18 }), 0 };
    }
    void firstPress()
    {
        QFETCH(PressCase, c);
        auto tool = make(c.kind);
        QCOMPARE(tool->kind, c.kind);
        int returned = -2;
        for (const QPoint& p : c.presses)
            returned = tool->Press(p);
        QCOMPARE(tool->placed, c.kind != KindPolygon); // an open polygon is not placed
        QCOMPARE(tool->points, c.points);
        QCOMPARE(tool->current, c.current);
        QCOMPARE(returned, c.current);
        if (c.kind > KindVertical || !c.sent.isEmpty()) // rows listing no profile messages skip them
            QCOMPARE(log.messages, c.sent);
    }

    void drag_data()
    {
        QTest::addColumn<DragCase>("c");
        // First presses at (100, 50), (200, 100) and (100, 200).
        const int h = KindHorizontal, v = KindVertical;
        QTest::newRow("line end") << DragCase { KindLine, 2, { 120, 70 }, false, pts({ 100, 60, 100, 50, 120, 70 }),
            { { XY, 120, 70 } } };
        QTest::newRow("line move all") << DragCase { KindLine, 2, { 110, 45 }, true, pts({ 110, 55, 110, 45, 110, 45 }),
            { { XY, 110, 45 } } };
        QTest::newRow("line no current") << DragCase { KindLine, -1, { 5, 5 }, true,
            pts({ 100, 60, 100, 50, 100, 50 }) };
        QTest::newRow("left end past right") << DragCase { h, 1, { 250, 120 }, false,
            pts({ 200, 130, 208, 100, 210, 100, 188, 100, 230, 100 }), { { MARK, 0, 208 }, { XY, 208, 120 } } };
        QTest::newRow("right end past left") << DragCase { h, 2, { 150, 90 }, false,
            pts({ 200, 130, 200, 100, 202, 100, 180, 100, 222, 100 }), { { MARK, 1, 202 }, { XY, 202, 90 } } };
        QTest::newRow("horizontal label") << DragCase { h, 0, { 5, 6 }, false,
            pts({ 5, 6, 200, 100, 210, 100, 180, 100, 230, 100 }), { { XY, 5, 6 } } };
        QTest::newRow("horizontal move all")
            << DragCase { h, 1, { 210, 110 }, true, pts({ 210, 140, 210, 110, 220, 110, 190, 110, 240, 110 }),
                   { { XY, 210, 110 }, { UPDATE, 1, 1 }, { MARK, 0, 210 }, { MARK, 1, 220 } } };
        QTest::newRow("horizontal tail") << DragCase { h, 3, { 170, 105 }, false,
            pts({ 190, 135, 190, 105, 200, 105, 170, 105, 220, 105 }),
            { { XY, 170, 105 }, { UPDATE, 1, 1 }, { MARK, 0, 190 }, { MARK, 1, 200 } } };
        QTest::newRow("top end past bottom") << DragCase { v, 1, { 90, 260 }, false,
            pts({ 130, 200, 100, 208, 100, 210, 100, 188, 100, 230 }), { { MARK, 2, 208 }, { XY, 100, 208 } } };
        QTest::newRow("vertical end 2") << DragCase { v, 2, { 120, 230 }, false,
            pts({ 130, 200, 100, 200, 100, 230, 100, 180, 100, 250 }), { { MARK, 3, 230 }, { XY, 100, 230 } } };
        QTest::newRow("vertical label") << DragCase { v, 0, { 5, 6 }, false,
            pts({ 5, 6, 100, 200, 100, 210, 100, 180, 100, 230 }), { { XY, 5, 6 } } };
        QTest::newRow("vertical move all")
            << DragCase { v, 2, { 110, 220 }, true, pts({ 140, 210, 110, 210, 110, 220, 110, 190, 110, 240 }),
                   { { XY, 110, 220 }, { UPDATE, 0, 0 }, { MARK, 2, 210 }, { MARK, 3, 220 } } };
    }
    void drag()
    {
        QFETCH(DragCase, c);
        auto tool = make(c.kind);
        tool->Press(c.kind == KindLine     ? QPoint(100, 50)
                : c.kind == KindHorizontal ? QPoint(200, 100)
                                           : QPoint(100, 200));
        log.messages.clear();
        tool->current = c.grab;
        tool->Drag(c.to, c.moveAll);
        QCOMPARE(tool->points, c.points);
        QCOMPARE(log.messages, c.sent);
    }

    void labels_data()
    {
        QTest::addColumn<LabelCase>("c");
        const Points circle = pts({ 0, 0, 50, 50, 53, 54 }), angle = pts({ 0, 0, 20, 10, 10, 20, 10, 10 });
        const auto row = [](const char* name, LabelCase c) { QTest::newRow(name) << c; };
        row("horizontal",
            { KindHorizontal, pts({ 0, 0, 0, 0, 10, 0, -20, 0, 30, 0 }), "Distance = 9.00 mm", 1, 1, 0, 0, 9 });
        row("horizontal 1 apart", { KindHorizontal, pts({ 0, 0, 0, 0, 1, 0, 0, 0, 0, 0 }), "Distance = 0.00 mm" });
        row("vertical", { KindVertical, pts({ 0, 0, 0, 0, 0, 10, 0, 0, 0, 0 }), "Distance = 18.00 mm", 5, 2 });
        row("line 1,1", { KindLine, pts({ 0, 0, 0, 0, 1, 1 }), "Distance = 1.41 mm", 1, 1, 0, 0, std::sqrt(2.0) - 1 });
        row("line 3,4", { KindLine, pts({ 0, 0, 0, 0, 3, 4 }), "Distance = 3.61 mm", 1, 1, 0, 0, 4 });
        row("line anisotropic", { KindLine, pts({ 0, 0, 0, 0, 3, 4 }), "Distance = 6.08 um", 0.5, 2, 1, 0, 4 });
        row("rectangle", { KindRectangle, pts({ 0, 0, 0, 0, 11, 21 }), "Area = 200.00 mm^2" });
        row("rectangle one row", { KindRectangle, pts({ 0, 0, 0, 5, 11, 5 }), "Area = 0.00 mm^2" });
        row("rectangle anisotropic", { KindRectangle, pts({ 0, 0, 0, 0, 11, 5 }), "Area = 40.00 mil^2", 0.5, 2, 2 });
        row("angle 90", { KindAngle, angle, "Angle = 90.00 Deg" });
        row("angle 0", { KindAngle, pts({ 0, 0, 20, 10, 30, 10, 10, 10 }), "Angle = 0.00 Deg" });
        row("angle 180", { KindAngle, pts({ 0, 0, 20, 10, 0, 10, 10, 10 }), "Angle = 180.00 Deg" });
        row("circle area", { KindCircle, circle, "Area = 40.84 mm^2" });
        row("circumference", { KindCircle, circle, "Circumference = 22.65 mm", 1, 1, 0, 1 });
        row("diameter", { KindCircle, circle, "Diameter = 7.21 mm", 1, 1, 0, 2 });
        row("radius", { KindCircle, circle, "Radius = 3.61 mm", 1, 1, 0, 3 });
        row("circle display 9", { KindCircle, circle, "old", 1, 1, 0, 9 });
        row("polygon square", { KindPolygon, pts({ 0, 0, 0, 0, 0, 10, 10, 10, 10, 0 }), "Area = 100.00 mm^2" });
        row("polygon one vertex", { KindPolygon, pts({ 0, 0, 5, 5 }), "old" });
    }
    void labels()
    {
        QFETCH(LabelCase, c);
        preset({ { "CircleDisplay", c.display } });
        auto tool = make(c.kind);
        tool->points = c.points;
        tool->SetScaleX(c.scaleX);
        tool->SetScaleY(c.scaleY);
        tool->SetUnits(c.units);
        tool->label = QStringLiteral("old");
        tool->UpdateLabel();
        QCOMPARE(tool->label, c.label);
        if (c.pixelLength >= 0)
            QCOMPARE(tool->GetPixelLength(), c.pixelLength);
    }

    void handlesAndLabel_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Points>("points");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("handles");
        QTest::addColumn<bool>("label");
        const Points line = pts({ 30, 100, 50, 50, 150, 50 }),
                     h = pts({ 200, 130, 200, 100, 210, 100, 180, 100, 230, 100 });
        QTest::newRow("line") << int(KindLine) << line << -1 << QList<int> { 0, 1, 2 } << true;
        QTest::newRow("line dragging end") << int(KindLine) << line << 2 << QList<int> { 0, 1 } << true;
        QTest::newRow("horizontal") << int(KindHorizontal) << h << -1 << QList<int> { 0, 1, 2, 3, 4 } << true;
        QTest::newRow("calibrate") << int(KindCalibrate) << h << -1 << QList<int> { 1, 2, 3, 4 } << false;
        QTest::newRow("calibrate vertical")
            << int(KindCalibrateVertical) << pts({ 130, 200, 100, 200, 100, 210, 100, 180, 100, 230 }) << -1
            << QList<int> { 1, 2, 3, 4 } << false;
        QTest::newRow("arrow") << int(KindArrow) << pts({ 50, 50 }) << -1 << QList<int> { 0 } << false;
    }
    void handlesAndLabel()
    {
        QFETCH(int, kind);
        QFETCH(Points, points);
        QFETCH(int, current);
        QFETCH(QList<int>, handles);
        const QImage image = render(*place(kind, points, current));
        for (int i = 0; i < points.size(); ++i)
            QVERIFY2(handleAt(image, points[i]) == handles.contains(i), qPrintable(QString::number(i)));
        QTEST(!pixelsOf(image, qRgb(0xC0, 0xC0, 0xC0)).isEmpty(), "label");
    }

    void labelPasses_data()
    {
        QTest::addColumn<int>("style");
        for (int style : { 7, 4, 0, 5, 6 })
            QTest::addRow("style %d", style) << style;
    }
    void labelPasses()
    {
        QFETCH(int, style);
        preset({ { "TextColor", 0x0000FF }, { "TextHighlite", 0x00FF00 }, { "TextShadow", 0xFF0000 },
            { "TextStyle", style } });
        auto tool = place(KindText, pts({ 20, 20 }));
        tool->label = QStringLiteral("Hg");
        tool->showHandles = false;
        const QImage image = render(*tool);
        QRect t, h, s;
        QCOMPARE(pixelsOf(image, qRgb(255, 0, 0), &t).isEmpty(), !(style & CTool::TextPass));
        QCOMPARE(pixelsOf(image, qRgb(0, 255, 0), &h).isEmpty(), !(style & CTool::HighlightPass));
        QCOMPARE(pixelsOf(image, qRgb(0, 0, 255), &s).isEmpty(), !(style & CTool::ShadowPass));
        // The text cell's top-left corner is point 0; highlight up-left, shadow down-right.
        QVERIFY(t.isNull() || QRect(20, 20, 4, 7).contains(t.topLeft()));
        QVERIFY(t.isNull() || h.isNull() || h.topLeft() == t.topLeft() - QPoint(1, 1));
        QVERIFY(t.isNull() || s.isNull() || s.bottomRight() == t.bottomRight() + QPoint(1, 1));
    }

    void figures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QPoint>("anchor");
        QTest::addColumn<Points>("pixels");
        const auto arrow = [](const char* name, int direction, Points pixels) {
            QTest::newRow(name) << int(KindArrow) << QVariantMap { { "ArrowDirection", direction } } << QPoint(50, 50)
                                << pixels;
        };
        const auto reticule = [](const char* name, QVariantMap stored, Points pixels) {
            stored.insert(QStringLiteral("ReticuleSpacing"), 5);
            QTest::newRow(name) << int(KindReticule) << stored << QPoint(50, 50) << pixels;
        };
        reticule("reticule across", { { "ReticuleCount", 4 }, { "ReticuleVertical", 0 } },
            px({ 50, 50, 70, 50, 50, 50, 50, 64, 55, 50, 55, 57, 60, 50, 60, 57, 65, 50, 65, 57, 70, 50, 70, 57 }));
        reticule(
            "reticule negative count", { { "ReticuleCount", -2 }, { "ReticuleVertical", 0 } }, px({ 50, 50, 40, 50 }));
        QList<int> scale { 100, 300, 300, 300, 100, 300, 100, 100 };
        for (int i = 0; i <= 100; ++i) {
            const int t = i % 10 == 0 ? 14 : i % 5 == 0 ? 10 : 7;
            scale << 100 + 2 * i << 300 << 100 + 2 * i << 300 + t << 100 << 300 - 2 * i << 100 - t << 300 - 2 * i;
        }
        QTest::newRow("reticule defaults") << int(KindReticule) << QVariantMap() << QPoint(100, 300) << px(scale);
        arrow("arrow left", 0, px({ 50, 50, 82, 50, 50, 50, 60, 60, 50, 50, 60, 40 }));
        arrow("arrow right", 1, px({ 50, 50, 18, 50, 50, 50, 40, 60, 50, 50, 40, 40 }));
        arrow("arrow up", 2, px({ 50, 50, 50, 82, 50, 50, 40, 60, 50, 50, 60, 60 }));
        arrow("arrow down", 3, px({ 50, 50, 50, 18, 50, 50, 40, 40, 50, 50, 60, 40 }));
        arrow("arrow direction 5", 5, {});
    }
    void figures()
    {
        QFETCH(int, kind);
        QFETCH(QVariantMap, stored);
        QFETCH(QPoint, anchor);
        stored.insert(QStringLiteral("ToolColor"), 0x00FF8000); // red in the low byte
        preset(stored);
        auto tool = place(kind, { anchor });
        tool->showHandles = false;
        QTEST(pixelsOf(render(*tool), qRgb(0x00, 0x80, 0xFF)), "pixels");
    }

    void circleIsTwoRadiiPlusOneAcross()
    {
        auto tool = place(KindCircle, pts({ 0, 0, 50, 50, 53, 54 }));
        tool->textStyle = 0;
        tool->showHandles = false;
        QRect box;
        const Points drawn = pixelsOf(render(*tool), qRgb(0, 0, 0), &box);
        QCOMPARE(box, QRect(45, 45, 11, 11));
        QCOMPARE(std::count_if(drawn.begin(), drawn.end(), [](QPoint p) { return p.y() == 50; }), 2);
    }

    void styleIsRead_data()
    {
        QTest::addColumn<StyleCase>("c");
        const QList<int> defaults { 0, 0xC0C0C0, 0xFFFFFF, 0, 7, 0, 0 };
        QTest::newRow("empty store") << StyleCase { KindLine, {}, defaults, "Arial", 14 };
        QTest::newRow("out of range") << StyleCase { KindCircle, { { "FontFace", 7 }, { "FontSize", -1 } }, defaults,
            "Arial", 14 };
        QTest::newRow("largest") << StyleCase { KindReticule, { { "FontSize", 7 } },
            { 0, 0xC0C0C0, 0xFFFFFF, 0, 7, 0, 7 }, "Arial", 28 };
        QTest::newRow("all stored") << StyleCase { KindArrow,
            { { "ToolColor", 0x010203 }, { "TextColor", 0x040506 }, { "TextHighlite", 0x070809 },
                { "TextShadow", 0x0A0B0C }, { "TextStyle", 0x75 }, { "FontFace", 1 }, { "FontSize", 3 } },
            { 0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x75, 1, 3 }, "Times New Roman", 20 };
    }
    void styleIsRead()
    {
        QFETCH(StyleCase, c);
        preset(c.stored);
        auto tool = make(c.kind);
        QCOMPARE((QList<int> { int(tool->toolColor), int(tool->textColor), int(tool->textHighlite),
                     int(tool->textShadow), tool->textStyle, tool->fontFace, tool->fontSize }),
            c.style);
        const QFont font = tool->labelFont();
        QCOMPARE(font.family(), c.family);
        if (c.family == QLatin1String("Arial")) // or a metric-compatible stand-in
            QVERIFY(QStringList({ "Arial", "Liberation Sans", "Arimo" }).contains(QFontInfo(font).family()));
        QCOMPARE(QFontMetrics(font).height(), c.height);
        QCOMPARE(font.bold() + 2 * font.italic() + 4 * font.underline(), (tool->textStyle >> 4) & 7);
    }

    void editOptions_data()
    {
        QTest::addColumn<EditCase>("c");
        const ScriptedToolDialogs::Change recolour = [](CTool& t) { t.toolColor = 0x112233, t.textColor = 0x445566; };
        const QVariantMap text { { "TextColor", 0x445566 }, { "TextHighlite", 0xFFFFFF }, { "TextShadow", 0 },
            { "TextStyle", 7 }, { "FontFace", 0 }, { "FontSize", 0 } };
        QVariantMap line = text, circle;
        line.insert(QStringLiteral("ToolColor"), 0x112233);
        (circle = line).insert(QStringLiteral("CircleDisplay"), 2);
        const auto display2 = [=](CTool& t) { recolour(t), static_cast<CCircleTool&>(t).circleDisplay = 2; };
        const auto down = [=](CTool& t) { recolour(t), static_cast<CArrowTool&>(t).direction = 3; };
        const auto scale = [=](CTool& t) {
            auto& r = static_cast<CReticuleTool&>(t);
            recolour(t), r.verticalAxis = false, r.spacing = 4, r.count = 50;
        };
        QTest::newRow("circle ok") << EditCase { KindCircle, true, display2, "circle", circle };
        QTest::newRow("circle cancel") << EditCase { KindCircle, false, display2, "circle",
            { { "TextColor", 0x123456 } } };
        QTest::newRow("line ok") << EditCase { KindLine, true, recolour, "tool", line };
        QTest::newRow("arrow ok") << EditCase { KindArrow, true, down, "arrow",
            { { "TextColor", 0x123456 }, { "ToolColor", 0x112233 }, { "ArrowDirection", 3 } } };
        QTest::newRow("reticule ok") << EditCase { KindReticule, true, scale, "reticule",
            { { "TextColor", 0x123456 }, { "ToolColor", 0x112233 }, { "ReticuleHorizontal", 1 },
                { "ReticuleVertical", 0 }, { "ReticuleSpacing", 4 }, { "ReticuleCount", 50 } } };
        QTest::newRow("text ok") << EditCase { KindText, true, recolour, "text", text };
    }
    void editOptions()
    {
        QFETCH(EditCase, c);
        preset({ { "TextColor", 0x123456 } });
        ScriptedToolDialogs dialogs;
        dialogs.accept = c.accept;
        dialogs.change = c.change;
        QCOMPARE(make(c.kind)->EditOptions(dialogs, *settings), c.accept ? 1 : 0);
        QCOMPARE(dialogs.asked, QStringList { c.dialog });
        QCOMPARE(toolSection(), c.section);
        // Every kind reads the one shared section.
        const auto next = make(KindLine);
        QCOMPARE(int(next->toolColor), c.section.value(QStringLiteral("ToolColor"), 0).toInt());
        QCOMPARE(int(next->textColor), c.section.value(QStringLiteral("TextColor")).toInt());
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
