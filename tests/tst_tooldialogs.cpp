// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "core/base/SettingsStore.h"
#include "core/tools/CArrowTool.h"
#include "core/tools/CCircleTool.h"
#include "core/tools/CReticuleTool.h"
#include "core/tools/CScaleBarTool.h"
#include "core/tools/CTextTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/tools/CArrowOptionsDlg.h"
#include "ui/tools/CCircleOptionsDlg.h"
#include "ui/tools/CReticuleOptionsDlg.h"
#include "ui/tools/CScaleBarOptionsDlg.h"
#include "ui/tools/CTextOptionsDlg.h"
#include "ui/tools/CToolOptionsDlg.h"
#include "ui/widgets/CColorSwatch.h"

namespace {

// A stray swatch press must never wait for a real colour dialog.
QColor cancelledPick(const QColor&)
{
    return QColor();
}

void press(QWidget* dialog, bool ok)
{
    dialog->findChild<QDialogButtonBox*>()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
}

// The child of type T showing `text` (a group box: its title) inside `parent`.
template <typename T> T* control(QWidget* parent, const QString& text)
{
    for (auto* c : parent->findChildren<T*>()) {
        if constexpr (std::is_same_v<T, QGroupBox>) {
            if (c->title() == text)
                return c;
        } else if (c->text() == text) {
            return c;
        }
    }
    return nullptr;
}

QLineEdit* edit(QWidget* dialog, const QString& label)
{
    return qobject_cast<QLineEdit*>(control<QLabel>(dialog, label)->buddy());
}

} // namespace

class TestToolDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    MessageLog log;
    QStringList refusals;

    std::unique_ptr<CTool> make(int kind) { return ToolFactory::create(kind, *settings, log); }

    // The tool's dialog, shown; its swatches pick with `pick` and its refusals are recorded.
    std::unique_ptr<QDialog> dialogFor(CTool& tool, const CColorSwatch::Picker& pick = cancelledPick)
    {
        std::unique_ptr<QDialog> dialog;
        if (auto* circle = dynamic_cast<CCircleTool*>(&tool))
            dialog = std::make_unique<CCircleOptionsDlg>(*circle, nullptr, pick);
        else if (auto* text = dynamic_cast<CTextTool*>(&tool))
            dialog = std::make_unique<CTextOptionsDlg>(*text, nullptr, pick);
        else if (auto* reticule = dynamic_cast<CReticuleTool*>(&tool))
            dialog = std::make_unique<CReticuleOptionsDlg>(
                *reticule, nullptr, pick, [this](QWidget*, const QString& text) { refusals << text; });
        else if (auto* bar = dynamic_cast<CScaleBarTool*>(&tool))
            dialog = std::make_unique<CScaleBarOptionsDlg>(
                *bar, nullptr, pick, [this](QWidget*, const QString& text) { refusals << text; });
        else if (auto* arrow = dynamic_cast<CArrowTool*>(&tool))
            dialog = std::make_unique<CArrowOptionsDlg>(*arrow, nullptr, pick);
        else
            dialog = std::make_unique<CToolOptionsDlg>(tool, nullptr, pick);
        dialog->show();
        return dialog;
    }

private slots:
    void init()
    {
        settings = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("Scopique.conf")));
        refusals.clear();
    }
    void cleanup() { settings.reset(); }

    // Each group as "Title(buttons)", a swatch as #, then the items of its lists.
    void layout_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("groups");
        const QString font(
            "Text Font(Bold Italic Underline Arial Times Comic 14 pt 16 pt 18 pt 20 pt 22 pt 24 pt 26 pt "
            "28 pt)");
        const QStringList measuring { "Text Highlite(Enable #)", "Text Color(Enable #)", "Text Shadow(Enable #)",
            "Tool Color(#)", font };
        QTest::newRow("tool") << int(KindLine) << "Tool Options" << measuring;
        QTest::newRow("circle") << int(KindCircle) << "Circle Options"
                                << measuring + QStringList { "Display(Area Circumference Diameter Radius)" };
        QTest::newRow("text") << int(KindText) << "Text Options"
                              << QStringList { "Text Highlite(Enable #)", "Text Color(#)", "Text Shadow(Enable #)",
                                     font, "Text Annotation()" };
        QTest::newRow("reticule") << int(KindReticule) << "Reticule Options"
                                  << QStringList { "Color(#)", "Axis(Horizontal Vertical)", "Tick()" };
        QTest::newRow("scale bar") << int(KindScaleBar) << "Scale Bar Options"
                                   << measuring + QStringList { "Scale Bar(Automatic)" };
        QTest::newRow("arrow") << int(KindArrow) << "Arrow Options"
                               << QStringList { "Color(#)", "Direction(Left Right Up Down)" };
    }
    void layout()
    {
        QFETCH(int, kind);
        const auto tool = make(kind);
        const auto dialog = dialogFor(*tool);
        QTEST(dialog->windowTitle(), "caption");
        QStringList groups;
        for (QGroupBox* box : dialog->findChildren<QGroupBox*>()) {
            QStringList inside;
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                inside << (qobject_cast<CColorSwatch*>(button) ? QStringLiteral("#") : button->text());
            for (QComboBox* list : box->findChildren<QComboBox*>()) {
                for (int i = 0; i < list->count(); ++i)
                    inside << list->itemText(i);
            }
            groups << box->title() + QLatin1Char('(') + inside.join(QLatin1Char(' ')) + QLatin1Char(')');
        }
        QTEST(groups, "groups");
    }

    // A scripted edit: "Group/Button" clicks a check box or radio button,
    // "Group/#" picks a colour on the group's swatch and "Group/-" cancels
    // the pick. The fonts are set to Comic, 28 pt where the dialog has them.
    // The tool starts with the colours 1 (tool), 2 (text), 3 (highlight) and
    // 4 (shadow); a pick adds blue 0x80 to the colour it starts from.
    void edits_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("before"); // textStyle
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("accept");
        // textStyle, face, size, tool, text, highlight, shadow colours, display or direction
        QTest::addColumn<QList<int>>("after");
        const int blue = 0x800000;
        const auto row = [](const char* name, int kind, int before, QStringList actions, bool accept,
                             QList<int> after) { QTest::newRow(name) << kind << before << actions << accept << after; };
        row("bit 3 lost", KindLine, 0x7F, { "Tool Color/#" }, true, { 0x77, 2, 7, blue + 1, 2, 3, 4, -1 });
        row("boxes rebuild", KindRectangle, 0x07,
            { "Text Color/Enable", "Text Highlite/Enable", "Text Font/Bold", "Text Font/Underline", "Text Highlite/#" },
            true, { 0x52, 2, 7, 1, 2, blue + 3, 4, -1 });
        row("circle", KindCircle, 0x07, { "Text Shadow/#", "Display/Radius" }, true, { 7, 2, 7, 1, 2, 3, blue + 4, 3 });
        row("circle cancelled pick", KindCircle, 0x07, { "Text Color/-", "Display/Circumference" }, true,
            { 7, 2, 7, 1, 2, 3, 4, 1 });
        row("text keeps 4", KindText, 0x08, { "Text Font/Italic", "Text Color/#" }, true,
            { 0x24, 2, 7, 1, blue + 2, 3, 4, -1 });
        row("cancel", KindText, 0x0F, { "Text Font/Bold", "Text Highlite/#" }, false, { 0x0F, 0, 0, 1, 2, 3, 4, -1 });
        row("reticule", KindReticule, 0, { "Color/#" }, true, { 0, 0, 0, blue + 1, 2, 3, 4, -1 });
        row("arrow", KindArrow, 0, { "Color/#", "Direction/Left" }, true, { 0, 0, 0, blue + 1, 2, 3, 4, 0 });
        row("scale bar", KindScaleBar, 0x07, { "Tool Color/#", "Text Font/Italic", "Text Shadow/Enable" }, true,
            { 0x25, 2, 7, blue + 1, 2, 3, 4, -1 });
        row("arrow untouched", KindArrow, 0, { "Color/-" }, true, { 0, 0, 0, 1, 2, 3, 4, 2 });
    }
    void edits()
    {
        QFETCH(int, kind);
        QFETCH(int, before);
        QFETCH(QStringList, actions);
        QFETCH(bool, accept);
        const auto tool = make(kind);
        tool->textStyle = before;
        tool->label = QStringLiteral("old");
        tool->toolColor = 1, tool->textColor = 2, tool->textHighlite = 3, tool->textShadow = 4;
        const auto state = [&] {
            auto* circle = dynamic_cast<CCircleTool*>(tool.get());
            auto* arrow = dynamic_cast<CArrowTool*>(tool.get());
            return QList<int> { tool->textStyle, tool->fontFace, tool->fontSize, int(tool->toolColor),
                int(tool->textColor), int(tool->textHighlite), int(tool->textShadow),
                circle      ? circle->circleDisplay
                    : arrow ? arrow->direction
                            : -1 };
        };
        const QList<int> initial = state();
        QColor picked;
        bool cancelPick = false;
        const auto dialog = dialogFor(*tool, [&](const QColor& from) {
            return picked = cancelPick ? QColor() : QColor(from.red(), from.green(), 0x80);
        });
        for (const QString& action : actions) {
            const QStringList path = action.split(QLatin1Char('/'));
            QGroupBox* group = control<QGroupBox>(dialog.get(), path[0]);
            if (path[1] == QLatin1String("#") || path[1] == QLatin1String("-")) {
                cancelPick = path[1] == QLatin1String("-");
                auto* swatch = group->findChild<CColorSwatch*>();
                swatch->click();
                const QImage face = swatch->grab().toImage();
                QVERIFY(cancelPick || face.pixelColor(face.rect().center()) == picked);
            } else {
                control<QAbstractButton>(group, path[1])->click();
            }
        }
        if (auto* font = control<QGroupBox>(dialog.get(), QStringLiteral("Text Font"))) {
            font->findChildren<QComboBox*>()[0]->setCurrentIndex(2);
            font->findChildren<QComboBox*>()[1]->setCurrentIndex(7);
        }
        // The annotation starts with the focus; Enter starts a new line.
        if (auto* text = dialog->findChild<QPlainTextEdit*>()) {
            QCOMPARE(dialog->focusWidget(), text);
            text->moveCursor(QTextCursor::End);
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, QStringLiteral("new"));
            QVERIFY(dialog->isVisible());
        }
        QCOMPARE(state(), initial); // nothing changes before OK
        press(dialog.get(), accept);
        QTEST(state(), "after");
        QCOMPARE(tool->label, kind == KindText && accept ? QStringLiteral("old\nnew") : QStringLiteral("old"));
    }

    // Typed values, "-" leaving an edit alone: the reticule's spacing (2 to 10) and count (10 to 1000), its
    // Horizontal box clicked; the scale bar's length (Automatic, the edit then showing the automatic length
    // greyed, or typed) and thickness (1 to 50), its Automatic box clicked when `toggle`. The scale bar
    // draws at 0.01 mm a pixel on a picture 640 wide: 1 mm automatically.
    void typedValues_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("before"); // the scale bar's typed length, 0 for Automatic
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::addColumn<QList<double>>("after"); // spacing, count, horizontal axis; or length, thickness
        const QString spacing("Please enter an integer between 2 and 10.");
        const QString count("Please enter an integer between 10 and 1000.");
        const QString thickness("Please enter an integer between 1 and 50.");
        const QString length("Please enter a length greater than 0, or choose Automatic.");
        const auto row = [](const char* name, int kind, double before, bool toggle, const char* typed,
                             const QString& refusal, QList<double> after) {
            QTest::newRow(name) << kind << before << toggle << typed << refusal << after;
        };
        const int reticule = KindReticule, bar = KindScaleBar;
        row("lowest spacing, highest count", reticule, 0, true, "2 1000", {}, { 2, 1000, 0 });
        row("letters dropped, 10 and 10", reticule, 0, true, "1x0 1o0", {}, { 10, 10, 0 });
        row("count 1001", reticule, 0, true, "10 1001", count, { 5, 200, 1 });
        row("count 9", reticule, 0, true, "3 9", count, { 5, 200, 1 });
        row("spacing 1", reticule, 0, true, "1 50", spacing, { 5, 200, 1 });
        row("spacing 11", reticule, 0, true, "11 50", spacing, { 5, 200, 1 });
        row("spacing empty, count 5", reticule, 0, true, " 5", spacing, { 5, 200, 1 });
        row("automatic, thickness 1", bar, 0, false, "- 1", {}, { 0, 1 });
        row("typed 0.25, thickness 50", bar, 0, true, "0.25 50", {}, { 0.25, 50 });
        row("typed back to automatic", bar, 0.25, true, "- -", {}, { 0, 6 });
        row("bar letters dropped", bar, 0, true, "0x.5 2y0", {}, { 0.5, 20 });
        row("thickness 51", bar, 0, false, "- 51", thickness, { 0, 6 });
        row("thickness 0", bar, 0.25, true, "- 0", thickness, { 0.25, 6 });
        row("thickness empty", bar, 0, false, "- ", thickness, { 0, 6 });
        row("length 0", bar, 0, true, "0 6", length, { 0, 6 });
        row("length empty", bar, 0.25, false, " 6", length, { 0.25, 6 });
        row("length a point", bar, 0, true, ". 6", length, { 0, 6 });
    }
    void typedValues()
    {
        QFETCH(int, kind);
        QFETCH(double, before);
        QFETCH(bool, toggle);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        const auto owned = make(kind);
        auto* reticule = dynamic_cast<CReticuleTool*>(owned.get());
        auto* bar = dynamic_cast<CScaleBarTool*>(owned.get());
        if (reticule) {
            reticule->spacing = 5, reticule->count = 200, reticule->verticalAxis = false;
        } else {
            bar->SetScaleX(0.01);
            bar->SetPictureSize(QSize(640, 480));
            bar->length = before;
        }
        const auto values = [&] {
            return reticule
                ? QList<double> { double(reticule->spacing), double(reticule->count), double(reticule->horizontalAxis) }
                : QList<double> { bar->length, double(bar->thickness) };
        };
        const auto dialog = dialogFor(*owned);
        QList<QLineEdit*> edits;
        QStringList shown;
        for (const char* name :
            reticule ? QList<const char*> { "Spacing", "Count" } : QList<const char*> { "Length", "Thickness" }) {
            edits << edit(dialog.get(), name);
            shown << edits.last()->text();
        }
        QCOMPARE(shown.join(' '), QString(reticule ? "5 200" : before ? "0.25 6" : "1 6"));
        if (reticule)
            QVERIFY(!control<QCheckBox>(dialog.get(), "Vertical")->isChecked());
        else
            QCOMPARE(edits[0]->isEnabled(), before > 0);
        if (toggle)
            control<QCheckBox>(dialog.get(), reticule ? "Horizontal" : "Automatic")->click();
        if (bar)
            QCOMPARE(edits[0]->isEnabled(), (before > 0) != toggle);
        const QStringList text = typed.split(QLatin1Char(' '));
        for (int i = 0; i < 2; ++i) {
            if (text[i] != QLatin1String("-")) {
                edits[i]->clear();
                QTest::keyClicks(edits[i], text[i]);
            }
        }
        press(dialog.get(), true);
        QCOMPARE(refusals, refusal.isEmpty() ? QStringList() : QStringList { refusal });
        QCOMPARE(dialog->isVisible(), !refusal.isEmpty());
        if (!refusal.isEmpty())
            QCOMPARE(dialog->focusWidget(), edits[refusal.contains(reticule ? "10 and" : "50") ? 1 : 0]);
        QTEST(values(), "after");
    }
};

QTEST_MAIN(TestToolDialogs)
#include "tst_tooldialogs.moc"
