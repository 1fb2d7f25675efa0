// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <algorithm>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "app/SettingsStore.h"
#include "tools/CArrowOptionsDlg.h"
#include "tools/CArrowTool.h"
#include "tools/CCircleOptionsDlg.h"
#include "tools/CCircleTool.h"
#include "tools/CColorSwatch.h"
#include "tools/CReticuleOptionsDlg.h"
#include "tools/CReticuleTool.h"
#include "tools/CTextOptionsDlg.h"
#include "tools/CTextTool.h"
#include "tools/CToolOptionsDlg.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"

struct ColorCase {
    int kind;
    QString group;
    quint32 CTool::*field;
    bool accept;
    QColor picked; // invalid: the colour dialog was cancelled
};
struct StyleCase {
    int kind, before;
    QStringList clicks; // "group/check box"
    bool accept;
    int after, face, size;
};
Q_DECLARE_METATYPE(ColorCase)
Q_DECLARE_METATYPE(StyleCase)

namespace {

std::unique_ptr<QDialog> dialogFor(CTool& tool)
{
    switch (tool.kind) {
    case KindCircle:
        return std::make_unique<CCircleOptionsDlg>(static_cast<CCircleTool&>(tool));
    case KindText:
        return std::make_unique<CTextOptionsDlg>(static_cast<CTextTool&>(tool));
    case KindReticule:
        return std::make_unique<CReticuleOptionsDlg>(static_cast<CReticuleTool&>(tool));
    case KindArrow:
        return std::make_unique<CArrowOptionsDlg>(static_cast<CArrowTool&>(tool));
    default:
        return std::make_unique<CToolOptionsDlg>(tool);
    }
}

void press(QWidget* dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

QGroupBox* group(QWidget* dialog, const QString& title)
{
    for (auto* box : dialog->findChildren<QGroupBox*>())
        if (box->title() == title)
            return box;
    return nullptr;
}

template <typename T> T* control(QWidget* parent, const QString& text)
{
    for (auto* c : parent->findChildren<T*>())
        if (c->text() == text)
            return c;
    return nullptr;
}

// Reading order on screen: rows top to bottom, left to right within a row.
template <typename T> QList<T*> inReadingOrder(QList<T*> widgets, QWidget* dialog)
{
    std::stable_sort(widgets.begin(), widgets.end(), [dialog](QWidget* a, QWidget* b) {
        const QRect ra(a->mapTo(dialog, QPoint()), a->size()), rb(b->mapTo(dialog, QPoint()), b->size());
        const bool sameRow = ra.top() <= rb.bottom() && rb.top() <= ra.bottom();
        return sameRow ? ra.left() < rb.left() : ra.top() < rb.top();
    });
    return widgets;
}

// Each group as "Title(controls)": check boxes, radio buttons and labels by
// their text, a swatch as #, a list as its items, an edit as _.
QStringList describe(QWidget* dialog)
{
    QStringList groups;
    for (QGroupBox* box : inReadingOrder(dialog->findChildren<QGroupBox*>(), dialog)) {
        QStringList inside;
        for (QWidget* w : inReadingOrder(box->findChildren<QWidget*>(), dialog)) {
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                inside << (qobject_cast<CColorSwatch*>(w) ? QStringLiteral("#") : b->text());
            else if (auto* l = qobject_cast<QLabel*>(w))
                inside << l->text();
            else if (auto* c = qobject_cast<QComboBox*>(w)) {
                QStringList items;
                for (int i = 0; i < c->count(); ++i)
                    items << c->itemText(i);
                inside << items.join(QLatin1Char('|'));
            } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
                inside << QStringLiteral("_");
        }
        groups << box->title() + QLatin1Char('(') + inside.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return groups;
}

} // namespace

class TestToolDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    MessageLog log;
    QStringList refusals;
    QList<QColor> pickerAsked;

    std::unique_ptr<CTool> make(int kind) { return ToolFactory::create(kind, *settings, log); }
    QLineEdit* edit(QWidget* dialog, const QString& label)
    {
        return qobject_cast<QLineEdit*>(control<QLabel>(dialog, label)->buddy());
    }

private slots:
    void init()
    {
        settings = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("Scopique.conf")));
        refusals.clear();
        pickerAsked.clear();
        // A stray swatch press must never wait for a real colour dialog.
        CColorSwatch::picker = [](const QColor&) { return QColor(); };
        CReticuleOptionsDlg::showRefusal = [this](QWidget*, const QString& text) { refusals << text; };
    }
    void cleanup() { settings.reset(); }

    void layout_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("groups");
        const QString font("Text Font(Arial|Times|Comic 14 pt|16 pt|18 pt|20 pt|22 pt|24 pt|26 pt|28 pt Bold Italic "
                           "Underline)");
        const QStringList measuring { "Text Highlite(Enable #)", "Text Color(Enable #)", "Text Shadow(Enable #)",
            "Tool Color(#)", font };
        QTest::newRow("tool") << int(KindLine) << "Tool Options" << measuring;
        QTest::newRow("circle") << int(KindCircle) << "Circle Options"
                                << measuring + QStringList { "Display(Area Circumference Diameter Radius)" };
        QTest::newRow("text") << int(KindText) << "Text Options"
                              << QStringList { "Text Highlite(Enable #)", "Text Color(#)", "Text Shadow(Enable #)",
                                     font, "Text Annotation(_)" };
        QTest::newRow("reticule") << int(KindReticule) << "Reticule Options"
                                  << QStringList { "Color(#)", "Axis(Horizontal Vertical)", "Tick(Spacing _ Count _)" };
        QTest::newRow("arrow") << int(KindArrow) << "Arrow Options"
                               << QStringList { "Color(#)", "Direction(Left Right Up Down)" };
    }
    void layout()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QStringList, groups);
        const auto tool = make(kind);
        const auto dialog = dialogFor(*tool);
        dialog->show();
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(describe(dialog.get()), groups);
    }

    void textStyle_data()
    {
        QTest::addColumn<StyleCase>("c");
        QTest::newRow("bit 3 lost") << StyleCase { KindLine, 0x7F, {}, true, 0x77, 1, 5 };
        QTest::newRow("boxes rebuild") << StyleCase { KindRectangle, 0x07,
            { "Text Color/Enable", "Text Highlite/Enable", "Text Font/Bold", "Text Font/Underline" }, true, 0x52, 2,
            7 };
        QTest::newRow("circle") << StyleCase { KindCircle, 0x0F, { "Text Shadow/Enable", "Text Font/Italic" }, true,
            0x25, 0, 1 };
        QTest::newRow("text keeps 4") << StyleCase { KindText, 0x00, {}, true, 0x04, 1, 2 };
        QTest::newRow("text bit 3") << StyleCase { KindText, 0x7B, { "Text Font/Bold" }, true, 0x67, 2, 0 };
        QTest::newRow("cancel") << StyleCase { KindLine, 0x0F, { "Text Font/Bold" }, false, 0x0F, 0, 0 };
    }
    void textStyle()
    {
        QFETCH(StyleCase, c);
        const auto tool = make(c.kind);
        tool->textStyle = c.before;
        const auto dialog = dialogFor(*tool);
        dialog->show();
        for (const QString& click : c.clicks) {
            const QStringList path = click.split(QLatin1Char('/'));
            control<QCheckBox>(group(dialog.get(), path[0]), path[1])->click();
        }
        const auto lists = group(dialog.get(), QStringLiteral("Text Font"))->findChildren<QComboBox*>();
        lists[0]->setCurrentIndex(c.face);
        lists[1]->setCurrentIndex(c.size);
        press(dialog.get(), c.accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        QCOMPARE(dialog->result(), c.accept ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(tool->textStyle, c.after);
        QCOMPARE(tool->fontFace, c.face);
        QCOMPARE(tool->fontSize, c.size);
    }

    void colors_data()
    {
        QTest::addColumn<ColorCase>("c");
        const QColor blue(0x12, 0x34, 0xAB);
        QTest::newRow("tool ok") << ColorCase { KindLine, "Tool Color", &CTool::toolColor, true, blue };
        QTest::newRow("highlight cancel")
            << ColorCase { KindAngle, "Text Highlite", &CTool::textHighlite, false, blue };
        QTest::newRow("circle shadow ok") << ColorCase { KindCircle, "Text Shadow", &CTool::textShadow, true, blue };
        QTest::newRow("text color ok") << ColorCase { KindText, "Text Color", &CTool::textColor, true, blue };
        QTest::newRow("text cancel") << ColorCase { KindText, "Text Color", &CTool::textColor, false, blue };
        QTest::newRow("reticule ok") << ColorCase { KindReticule, "Color", &CTool::toolColor, true, blue };
        QTest::newRow("arrow cancel") << ColorCase { KindArrow, "Color", &CTool::toolColor, false, blue };
        QTest::newRow("picker cancelled") << ColorCase { KindLine, "Text Color", &CTool::textColor, true, QColor() };
    }
    void colors()
    {
        QFETCH(ColorCase, c);
        const auto tool = make(c.kind);
        (*tool).*c.field = 0x00405060;
        CColorSwatch::picker = [&](const QColor& initial) {
            pickerAsked << initial;
            return c.picked;
        };
        const auto dialog = dialogFor(*tool);
        dialog->show();
        auto* swatch = group(dialog.get(), c.group)->findChild<CColorSwatch*>();
        swatch->click();
        QCOMPARE(pickerAsked, QList<QColor> { QColor(0x60, 0x50, 0x40) });
        const QColor shown = c.picked.isValid() ? c.picked : pickerAsked[0];
        const QImage face = swatch->grab().toImage();
        QCOMPARE(face.pixelColor(0, 0), shown);
        QCOMPARE(face.pixelColor(face.rect().center()), shown);
        QCOMPARE((*tool).*c.field, 0x00405060u); // not before OK
        press(dialog.get(), c.accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        QCOMPARE((*tool).*c.field, c.accept && c.picked.isValid() ? CColorSwatch::toColorRef(c.picked) : 0x00405060u);
    }

    void reticule_data()
    {
        QTest::addColumn<QString>("spacing");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::addColumn<QString>("focus");
        const QString spacingRange("Please enter an integer between 2 and 10.");
        const QString countRange("Please enter an integer between 10 and 1000.");
        QTest::newRow("lowest spacing, highest count") << "2"
                                                       << "1000" << QString() << QString();
        QTest::newRow("letters dropped") << "1x0"
                                         << "1o0" << QString() << QString();
        QTest::newRow("count 1001") << "10"
                                    << "1001" << countRange << "Count";
        QTest::newRow("count 9") << "3"
                                 << "9" << countRange << "Count";
        QTest::newRow("spacing 1") << "1"
                                   << "50" << spacingRange << "Spacing";
        QTest::newRow("spacing 11") << "11"
                                    << "50" << spacingRange << "Spacing";
        QTest::newRow("spacing empty") << ""
                                       << "50" << spacingRange << "Spacing";
        QTest::newRow("both wrong") << "0"
                                    << "5" << spacingRange << "Spacing";
    }
    void reticule()
    {
        QFETCH(QString, spacing);
        QFETCH(QString, count);
        QFETCH(QString, refusal);
        QFETCH(QString, focus);
        auto owned = make(KindReticule);
        auto& tool = static_cast<CReticuleTool&>(*owned);
        tool.spacing = 5, tool.count = 200, tool.horizontalAxis = true, tool.verticalAxis = false;
        CReticuleOptionsDlg dialog(tool);
        dialog.show();
        QCOMPARE(edit(&dialog, "Spacing")->text(), QStringLiteral("5"));
        QCOMPARE(edit(&dialog, "Count")->text(), QStringLiteral("200"));
        QCOMPARE(control<QCheckBox>(&dialog, "Vertical")->isChecked(), false);
        for (auto [label, text] : { std::pair { "Spacing", spacing }, std::pair { "Count", count } }) {
            edit(&dialog, label)->clear();
            QTest::keyClicks(edit(&dialog, label), text);
        }
        control<QCheckBox>(&dialog, "Horizontal")->click();
        press(&dialog, QDialogButtonBox::Ok);
        if (refusal.isEmpty()) {
            QVERIFY(refusals.isEmpty());
            QCOMPARE(dialog.result(), QDialog::Accepted);
            QCOMPARE(tool.spacing, QString(spacing).remove(QLatin1Char('x')).toInt());
            QCOMPARE(tool.count, QString(count).remove(QLatin1Char('o')).toInt());
            QCOMPARE(tool.horizontalAxis, false);
            return;
        }
        QCOMPARE(refusals, QStringList { refusal });
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), edit(&dialog, focus));
        QCOMPARE(tool.spacing, 5);
        QCOMPARE(tool.count, 200);
        QCOMPARE(tool.horizontalAxis, true);
    }

    void radios_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown"); // the button checked on opening
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("value");
        QTest::newRow("circumference") << int(KindCircle) << "Area"
                                       << "Circumference" << 1;
        QTest::newRow("radius") << int(KindCircle) << "Area"
                                << "Radius" << 3;
        QTest::newRow("left") << int(KindArrow) << "Up"
                              << "Left" << 0;
        QTest::newRow("down") << int(KindArrow) << "Up"
                              << "Down" << 3;
    }
    void radios()
    {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QFETCH(QString, choice);
        QFETCH(int, value);
        const auto tool = make(kind);
        const auto dialog = dialogFor(*tool);
        dialog->show();
        QVERIFY(control<QRadioButton>(dialog.get(), shown)->isChecked());
        control<QRadioButton>(dialog.get(), choice)->click();
        press(dialog.get(), QDialogButtonBox::Ok);
        QCOMPARE(kind == KindCircle ? static_cast<CCircleTool&>(*tool).circleDisplay
                                    : static_cast<CArrowTool&>(*tool).direction,
            value);
    }

    void textAnnotation()
    {
        auto tool = make(KindText);
        tool->label = QStringLiteral("old");
        tool->toolColor = 0x00ABCDEF;
        CTextOptionsDlg dialog(static_cast<CTextTool&>(*tool));
        dialog.show();
        auto* text = dialog.findChild<QPlainTextEdit*>();
        QCOMPARE(dialog.focusWidget(), text);
        QCOMPARE(text->toPlainText(), QStringLiteral("old"));
        text->moveCursor(QTextCursor::End);
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, QStringLiteral("new"));
        QVERIFY(dialog.isVisible()); // Enter did not press OK
        press(&dialog, QDialogButtonBox::Ok);
        QCOMPARE(tool->label, QStringLiteral("old\nnew"));
        QCOMPARE(tool->toolColor, 0x00ABCDEFu);
    }
};

QTEST_MAIN(TestToolDialogs)
#include "tst_tooldialogs.moc"
