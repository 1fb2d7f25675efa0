// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QtGui>
#include <QtTest>

#include "DataRows.h"
#include "MessageLog.h"
#include "core/base/SettingsStore.h"
#include "core/tools/CTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"

using Points = QList<QPoint>;

// Presses, then a drag of handle `current` to `to` when `to` is given. Points are flat lists.
struct PointerCase {
    int kind;
    QList<int> presses, points;
    int current;
    QPoint to {};
    bool moveAll = false;
};
struct LabelCase {
    int kind;
    Points points;
    QString label;
    double scaleX = 1, scaleY = 1;
    int units = 0, display = 0;
};
Q_DECLARE_METATYPE(PointerCase)
Q_DECLARE_METATYPE(LabelCase)

namespace {

// Points from x, y pairs.
Points pts(const QList<int>& xy)
{
    Points points;
    for (int i = 0; i + 1 < xy.size(); i += 2)
        points << QPoint(xy[i], xy[i + 1]);
    return points;
}

QImage render(CTool& tool, QSize size = { 340, 340 }, QRgb background = qRgb(128, 128, 128))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    tool.Draw(painter);
    return image;
}

// How many pixels have one colour, and their bounding box.
int countOf(const QImage& image, QRgb colour, QRect* bounds = nullptr)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour && ++n && bounds)
                *bounds |= QRect(x, y, 1, 1);
    return n;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    MessageLog log;

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    std::unique_ptr<CTool> make(int kind, const Points& placedAt = {})
    {
        auto tool = ToolFactory::create(kind, *settings, log);
        if (!placedAt.isEmpty())
            tool->points = placedAt, tool->placed = true, tool->current = -1;
        return tool;
    }
    void calibrate(CTool& t, double x, double y, int units) { t.SetScaleX(x), t.SetScaleY(y), t.SetUnits(units); }
    // Values stored as the settings file holds them: as text.
    void preset(const QVariantMap& values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings->writeString(QStringLiteral("Tool"), it.key(), it.value().toString());
    }

private slots:
    void init()
    {
        settings.reset();
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
    }

    void pointer_data()
    {
        QTest::addColumn<PointerCase>("c");
        const auto row = [](const char* name, PointerCase c) { QTest::newRow(name) << c; };
        const int h = KindHorizontal, line = KindLine;
        const QList<int> placed { 100, 60, 100, 50, 100, 50 };
        row("horizontal", { h, { 200, 100 }, { 200, 130, 200, 100, 210, 100, 180, 100, 230, 100 }, 1 });
        row("vertical", { KindVertical, { 0, 450 }, { 30, 450, 0, 450, 0, 460, 0, 430, 0, 480 }, 1 });
        // Later presses pick the handle within 3 pixels, left and top inclusive, lowest index first.
        row("3 right hits", { line, { 100, 50, 103, 50 }, placed, 1 });
        row("3 left misses", { line, { 100, 50, 97, 50 }, placed, -1 });
        row("label", { line, { 100, 50, 102, 62 }, placed, 0 });
        // Drags after a first press.
        row("no current", { line, { 100, 50 }, placed, -1, { 5, 5 }, true });
        row("left end past right",
            { h, { 200, 100 }, { 200, 130, 208, 100, 210, 100, 188, 100, 230, 100 }, 1, { 250, 120 } });
        row("scale bar laid", { KindScaleBar, { 100, 50 }, { 100, 50, 100, 50 }, 1 });
        row("scale bar moves whole", { KindScaleBar, { 100, 50, 102, 48 }, { 108, 62, 110, 60 }, 1, { 110, 60 } });
    }
    void pointer()
    {
        QFETCH(PointerCase, c);
        auto tool = make(c.kind);
        int returned = -2;
        for (const QPoint& p : pts(c.presses))
            returned = tool->Press(p);
        if (!c.to.isNull())
            tool->current = c.current, tool->Drag(c.to, c.moveAll);
        else
            QCOMPARE(returned, c.current);
        QVERIFY(tool->placed);
        QCOMPARE(tool->points, pts(c.points));
        QCOMPARE(tool->current, c.current);
    }

    void labels_data()
    {
        QTest::addColumn<LabelCase>("c");
        // At the sizes users meet, every printed digit: a circle of radius 500, a 20 MP picture's diagonal.
        const Points circle = pts({ 0, 0, 1000, 1000, 1301, 1401 });
        const auto row = [](const char* name, LabelCase c) { QTest::newRow(name) << c; };
        row("horizontal", { KindHorizontal, pts({ 0, 0, 0, 0, 10, 0, -20, 0, 30, 0 }), "Distance = 9.00 mm" });
        row("vertical", { KindVertical, pts({ 0, 0, 0, 0, 0, 10, 0, 0, 0, 0 }), "Distance = 18.00 mm", 5, 2 });
        row("line anisotropic", { KindLine, pts({ 0, 0, 0, 0, 3, 4 }), "Distance = 6.08 um", 0.5, 2, 1 });
        row("rectangle", { KindRectangle, pts({ 0, 0, 0, 0, 11, 5 }), "Area = 40.00 mil^2", 0.5, 2, 2 });
        row("angle", { KindAngle, pts({ 0, 0, 20, 10, 10, 20, 10, 10 }), "Angle = 90.00 Deg" });
        row("area", { KindCircle, circle, "Area = 785397.50 mm^2" });
        row("circumference", { KindCircle, circle, "Circumference = 3141.59 mm", 1, 1, 0, 1 });
        row("diameter", { KindCircle, circle, "Diameter = 1000.00 mm", 1, 1, 0, 2 });
        row("polygon", { KindPolygon, pts({ 0, 0, 0, 0, 0, 10, 10, 10, 10, 0 }), "Area = 100.00 mm^2" });
    }
    void labels()
    {
        QFETCH(LabelCase, c);
        preset({ { "CircleDisplay", c.display } });
        auto tool = make(c.kind, c.points);
        calibrate(*tool, c.scaleX, c.scaleY, c.units);
        tool->UpdateLabel();
        QCOMPARE(tool->label, c.label);
    }

    // Key pixels in the tool colour, pixels left out, and how many are drawn (-1: not counted). With handles shown
    // (the points that have one): each a hollow 7 x 7 square, and a label (when point 0 has a handle) hard-edged,
    // its highlight drawn up-left and its shadow down-right.
    void figures_data()
    {
        columns<int, QVariantMap, QList<int>, QList<int>, QList<int>, int, QList<int>>(
            "kind", "stored", "points", "on", "off", "count", "handles");
        const auto row = [](const char* name, int kind, QVariantMap stored, QList<int> points, QList<int> on,
                             QList<int> off, int count, QList<int> handles = {}) {
            QTest::newRow(name) << kind << stored << points << on << off << count << handles;
        };
        row("reticule defaults", KindReticule, {}, { 100, 300 },
            { 299, 300, 102, 306, 110, 309, 120, 313, 300, 313, 100, 101, 87, 280 },
            { 301, 300, 102, 307, 110, 310, 120, 314, 86, 280 }, 1827);
        row("arrow left", KindArrow, { { "ArrowDirection", 0 } }, { 50, 50 }, { 81, 50, 59, 59, 59, 41 }, {}, 50);
        row("arrow down", KindArrow, { { "ArrowDirection", 3 } }, { 50, 50 }, { 50, 19, 41, 41, 59, 41 }, {}, 50);
        // Radius 5: 2r + 1 pixels across.
        row("circle", KindCircle, {}, { 0, 0, 50, 50, 53, 54 }, { 45, 50, 55, 50, 50, 45, 50, 55 },
            { 44, 50, 46, 50, 54, 50, 56, 50, 50, 44, 50, 56 }, -1);
        const QVariantMap text { { "TextColor", 0x0000FF }, { "TextHighlite", 0x00FF00 }, { "TextShadow", 0xFF0000 } };
        const QList<int> ruler { 200, 130, 200, 100, 210, 100, 180, 100, 230, 100 };
        row("handles, all passes", KindHorizontal, text, ruler, {}, {}, -1, { 0, 1, 2, 3, 4 });
        row("handles, calibrate", KindCalibrateVertical, text, ruler, {}, {}, -1, { 1, 2, 3, 4 });
    }
    void figures()
    {
        auto [kind, stored, points, on, off, count, handles]
            = fetch<int, QVariantMap, QList<int>, QList<int>, QList<int>, int, QList<int>>(
                "kind", "stored", "points", "on", "off", "count", "handles");
        stored.insert(QStringLiteral("ToolColor"), 0x00FF8000); // red in the low byte
        preset(stored);
        const Points at = pts(points);
        auto tool = make(kind, at);
        tool->showHandles = !handles.isEmpty();
        const QImage image = render(*tool);
        const QRgb colour = qRgb(0x00, 0x80, 0xFF), yellow = qRgb(255, 255, 0);
        for (const QPoint& p : pts(on))
            QVERIFY2(image.pixel(p) == colour, qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint& p : pts(off))
            QVERIFY2(image.pixel(p) != colour, qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
        QVERIFY(count < 0 || countOf(image, colour) == count);
        if (handles.isEmpty())
            return;
        for (int i = 0; i < at.size(); ++i) {
            const bool handle
                = image.pixel(at[i] - QPoint(3, 3)) == yellow && image.pixel(at[i] + QPoint(3, 3)) == yellow;
            QVERIFY2(handle == handles.contains(i), qPrintable(QString::number(i)));
        }
        QCOMPARE(countOf(image, yellow), 24 * handles.size());
        // The text is hard-edged: no pixel of a colour in between.
        int counted = 0;
        for (const QRgb c :
            { colour, yellow, qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) })
            counted += countOf(image, c);
        QCOMPARE(counted, image.width() * image.height());
        QRect t, hl, s;
        countOf(image, qRgb(255, 0, 0), &t), countOf(image, qRgb(0, 255, 0), &hl), countOf(image, qRgb(0, 0, 255), &s);
        QCOMPARE((QList<bool> { t.isNull(), hl.isNull(), s.isNull() }), QList<bool>(3, !handles.contains(0)));
        // The text cell's top-left corner is point 0.
        QVERIFY(t.isNull() || QRect(200, 130, 4, 7).contains(t.topLeft()));
        QVERIFY(t.isNull() || hl.isNull() || hl.topLeft() == t.topLeft() - QPoint(1, 1));
        QVERIFY(t.isNull() || s.isNull() || s.bottomRight() == t.bottomRight() + QPoint(1, 1));
    }

    // The scale bar on a picture `width` x 120: its length (the largest 1, 2 or 5 x 10^k whose
    // rounded pixels are at most a quarter of the width, unless one is typed), its pixels 20 from
    // the left and bottom edges, and its label centred above it.
    void scaleBar_data()
    {
        // "stored": texts in the "Tool" section.
        columns<int, double, int, QVariantMap, int, int, QString>(
            "width", "scale", "units", "stored", "pixels", "thickness", "label");
        const auto row = [](const char* name, int width, double scale, int units, int pixels, const char* label,
                             QVariantMap stored = {}, int thickness = 6) {
            QTest::newRow(name) << width << scale << units << stored << pixels << thickness << label;
        };
        row("640 at 0.00345", 640, 0.00345, 0, 145, "0.5 mm");
        row("1000 at 0.01 mil", 1000, 0.01, 2, 200, "2 mil");
        // 5 / 0.01998 = 250.25 pixels rounds to a quarter of 1000; 5 / 0.0199 = 251.3 does not.
        row("fits once rounded", 1000, 0.01998, 0, 250, "5 mm");
        row("too long once rounded", 1000, 0.0199, 0, 101, "2 mm");
        row("3 wide: none", 3, 1, 0, 0, "");
        row("typed, thick", 640, 0.01, 1, 25, "0.25 um",
            { { "ScaleBarLength", "0.25" }, { "ScaleBarThickness", "50" } }, 50);
        // Hand-edited values beyond their range read as Automatic and 6.
        row("length -2, thickness 51", 640, 1, 0, 100, "100 mm",
            { { "ScaleBarLength", "-2" }, { "ScaleBarThickness", "51" } });
    }
    void scaleBar()
    {
        const auto [width, scale, units, stored, pixels, thickness, label]
            = fetch<int, double, int, QVariantMap, int, int, QString>(
                "width", "scale", "units", "stored", "pixels", "thickness", "label");
        preset(stored);
        preset({ { "ToolColor", 0x0000FF }, { "TextColor", 0xFF0000 }, { "TextStyle", CTool::TextPass } });
        auto tool = make(KindScaleBar);
        calibrate(*tool, scale, scale * 7, units); // only the horizontal scale counts
        tool->SetPictureSize(QSize(width, 120));
        tool->showHandles = false;
        QVERIFY(tool->placed);
        const QImage image = render(*tool, { width, 120 }, qRgb(255, 255, 255));
        QCOMPARE(tool->label, label);
        QRect bar, text;
        countOf(image, qRgb(255, 0, 0), &bar), countOf(image, qRgb(0, 0, 255), &text);
        QCOMPARE(bar, pixels ? QRect(20, 99 - thickness + 1, pixels, thickness) : QRect());
        QCOMPARE(text.isNull(), label.isEmpty());
        if (!text.isNull()) {
            QVERIFY2(qAbs(text.center().x() - bar.center().x()) <= 2, qPrintable(QString::number(text.center().x())));
            QVERIFY(text.bottom() < bar.top() && text.bottom() > bar.top() - 8);
        }
    }

    // The style a new tool reads: the stored one, or the defaults for values missing or out of range.
    void style_data()
    {
        // "style": tool, text, highlight, shadow colours, textStyle, face, size.
        columns<QVariantMap, QList<int>>("stored", "style");
        const QList<int> defaults { 0, 0xC0C0C0, 0xFFFFFF, 0, 7, 0, 0 };
        QTest::newRow("defaults") << QVariantMap() << defaults;
        QTest::newRow("out of range") << QVariantMap { { "FontFace", 3 }, { "FontSize", 8 } } << defaults;
        QTest::newRow("stored") << QVariantMap { { "ToolColor", 0x010203 }, { "TextColor", 0x040506 },
            { "TextHighlite", 0x070809 }, { "TextShadow", 0x0A0B0C }, { "TextStyle", 0x75 }, { "FontFace", 1 },
            { "FontSize", 3 } } << QList<int> { 0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x75, 1, 3 };
    }
    void style()
    {
        const auto [stored, style] = fetch<QVariantMap, QList<int>>("stored", "style");
        preset(stored);
        auto tool = make(KindLine);
        QCOMPARE((QList<int> { int(tool->toolColor), int(tool->textColor), int(tool->textHighlite),
                     int(tool->textShadow), tool->textStyle, tool->fontFace, tool->fontSize }),
            style);
        const QFont font = tool->labelFont().font;
        QCOMPARE(font.family(), style[5] ? QStringLiteral("Times New Roman") : QStringLiteral("Arial"));
        QCOMPARE(font.bold() + 2 * font.italic() + 4 * font.underline(), (style[4] >> 4) & 7);
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
