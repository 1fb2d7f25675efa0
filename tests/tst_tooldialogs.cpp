// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QtTest>
#include <QtWidgets>

#include "DataRows.h"
#include "MessageLog.h"
#include "core/base/SettingsStore.h"
#include "core/base/ToolDialogs.h"
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

// The widget of type T inside `parent` showing `text` (a group box as its title).
template <typename T> T* control(QWidget* parent, const QString& text)
{
    for (T* widget : parent->findChildren<T*>())
        if (widget->property("text").toString() == text || widget->property("title").toString() == text)
            return widget;
    return nullptr;
}

// Text style, face, size, the four colours, then a circle's display, an arrow's direction, a reticule's spacing,
// count and axes (horizontal, vertical), or a scale bar's length and thickness.
QList<double> stateOf(const CTool& tool)
{
    QList<double> values { double(tool.textStyle), double(tool.fontFace), double(tool.fontSize), double(tool.toolColor),
        double(tool.textColor), double(tool.textHighlite), double(tool.textShadow) };
    if (auto* circle = dynamic_cast<const CCircleTool*>(&tool))
        values << circle->circleDisplay;
    if (auto* arrow = dynamic_cast<const CArrowTool*>(&tool))
        values << arrow->direction;
    if (auto* reticule = dynamic_cast<const CReticuleTool*>(&tool))
        values << reticule->spacing << reticule->count << reticule->horizontalAxis << reticule->verticalAxis;
    if (auto* bar = dynamic_cast<const CScaleBarTool*>(&tool))
        values << bar->length << bar->thickness;
    return values;
}

// The option dialogs as the program makes them, shown and played by `play` instead of a user: the answer is the
// button it clicked.
struct PlayedDialogs : ToolDialogs {
    CColorSwatch::Picker pick;
    CReticuleOptionsDlg::Refusal refuse;
    std::function<void(QDialog&)> play;
    bool run(QDialog&& dialog) { return dialog.show(), play(dialog), dialog.result() == QDialog::Accepted; }
    bool editToolOptions(CTool& tool) override { return run(CToolOptionsDlg(tool, nullptr, pick)); }
    bool editCircleOptions(CCircleTool& tool) override { return run(CCircleOptionsDlg(tool, nullptr, pick)); }
    bool editTextOptions(CTextTool& tool) override { return run(CTextOptionsDlg(tool, nullptr, pick)); }
    bool editArrowOptions(CArrowTool& tool) override { return run(CArrowOptionsDlg(tool, nullptr, pick)); }
    bool editReticuleOptions(CReticuleTool& t) override { return run(CReticuleOptionsDlg(t, nullptr, pick, refuse)); }
    bool editScaleBarOptions(CScaleBarTool& t) override { return run(CScaleBarOptionsDlg(t, nullptr, pick, refuse)); }
};

} // namespace

class TestToolDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("Scopique.conf"));
    std::unique_ptr<SettingsStore> settings;
    MessageLog log;
    QStringList refusals;

    std::unique_ptr<CTool> make(int kind) { return ToolFactory::create(kind, *settings, log); }

    // The user's part: what the dialog shows, the row's actions, then OK or Cancel.
    void play(QDialog& dialog, const CTool& tool, const QList<double>& initial, const QColor& picked)
    {
        const auto [actions, answer] = fetch<QStringList, QString>("actions", "answer");
        QStringList layout { dialog.windowTitle() };
        for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
            QStringList inside;
            for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                inside << (qobject_cast<CColorSwatch*>(button) ? QStringLiteral("#") : button->text());
            for (QComboBox* list : box->findChildren<QComboBox*>())
                for (int i = 0; i < list->count(); ++i)
                    inside << list->itemText(i);
            layout << box->title() + QLatin1Char('(') + inside.join(QLatin1Char(' ')) + QLatin1Char(')');
        }
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (auto* edit = qobject_cast<QLineEdit*>(label->buddy()))
                layout << label->text() + (edit->isEnabled() ? "=" + edit->text() : "=(" + edit->text() + ")");
        QTEST(layout.join(QLatin1Char('|')), "layout");
        for (const QString& action : actions) {
            const QStringList path = action.split(QLatin1Char('/')), typed = action.split(QLatin1Char('='));
            QGroupBox* group = control<QGroupBox>(&dialog, path[0]);
            if (typed.size() == 2) {
                auto* input = qobject_cast<QLineEdit*>(control<QLabel>(&dialog, typed[0])->buddy());
                input->clear();
                QTest::keyClicks(input, typed[1]);
            } else if (path.size() == 1) {
                group->findChildren<QComboBox*>()[0]->setCurrentIndex(2);
                group->findChildren<QComboBox*>()[1]->setCurrentIndex(7);
            } else if (path[1] == QLatin1String("#")) {
                auto* swatch = group->findChild<CColorSwatch*>();
                swatch->click();
                QCOMPARE(swatch->grab().toImage().pixelColor(swatch->rect().center()), picked);
            } else {
                control<QAbstractButton>(group, path[1])->click();
            }
        }
        if (auto* text = dialog.findChild<QPlainTextEdit*>()) {
            QCOMPARE(dialog.focusWidget(), text);
            text->moveCursor(QTextCursor::End);
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, QStringLiteral("new"));
            QVERIFY(dialog.isVisible());
        }
        QCOMPARE(stateOf(tool), initial); // nothing changes before OK
        const auto button = answer == "Cancel" ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok;
        dialog.findChild<QDialogButtonBox*>()->button(button)->click();
        const bool refused = answer.contains(QLatin1Char(':'));
        QCOMPARE(refusals, refused ? QStringList { answer.section(QStringLiteral(": "), 1) } : QStringList());
        QCOMPARE(dialog.isVisible(), refused);
        if (refused)
            QCOMPARE(dialog.focusWidget(), control<QLabel>(&dialog, answer.section(QLatin1Char(':'), 0, 0))->buddy());
    }

private slots:
    void init() { refusals.clear(), settings.reset(), QFile::remove(iniPath); }

    // A scripted edit: "Group/Button" clicks a check box or radio button, "Group/#" picks a colour on the group's
    // swatch, "Label=text" types into an edit, "Text Font" sets Comic, 28 pt.
    // The tool reads text style `before`, colours 1 (tool), 2 (text), 3 (highlight) and 4 (shadow), a reticule
    // spacing 5 and count 200 on the horizontal axis, a scale bar of typed length `before` (0: Automatic) from the
    // settings; the scale bar is at 0.01 mm a pixel on a picture 640 wide (1 mm automatically). The dialog opens
    // from the tool as Options && Colors opens it, and what OK stored is read back by a new tool of the kind.
    // A pick adds blue 0x80 to the colour it starts from. The refusal names the edit that gets the focus. The
    // annotation starts with the focus, and Enter starts a new line in it. "layout": each dialog's caption, then each
    // group as "Title(buttons)", a swatch as #, then the items of its lists, then the edits as the dialog opens,
    // greyed ones in brackets.
    void edits_data()
    {
        // "answer": OK, Cancel, or the refusal OK brings. "after": the end of the tool's state (stateOf).
        columns<int, double, QStringList, QString, QList<double>, QString>(
            "kind", "before", "actions", "answer", "after", "layout");
        const QString font("Text Font(Bold Italic Underline Arial Times Comic 14 pt 16 pt 18 pt 20 pt 22 pt 24 pt "
                           "26 pt 28 pt)");
        const QString measuring
            = "|Text Highlite(Enable #)|Text Color(Enable #)|Text Shadow(Enable #)|Tool Color(#)|" + font;
        const QHash<int, QString> layouts { { KindLine, "Tool Options" + measuring },
            { KindRectangle, "Tool Options" + measuring },
            { KindCircle, "Circle Options" + measuring + "|Display(Area Circumference Diameter Radius)" },
            { KindText,
                "Text Options|Text Highlite(Enable #)|Text Color(#)|Text Shadow(Enable #)|" + font
                    + "|Text Annotation()" },
            { KindReticule, "Reticule Options|Color(#)|Axis(Horizontal Vertical)|Tick()" },
            { KindScaleBar, "Scale Bar Options" + measuring + "|Scale Bar(Automatic)" },
            { KindArrow, "Arrow Options|Color(#)|Direction(Left Right Up Down)" } };
        const int B = 0x800000; // the blue a pick adds
        const QHash<int, QString> shown { { KindReticule, "|Spacing=5|Count=200" },
            { KindScaleBar, "|Length=(1)|Thickness=6" } };
        const QString spacing("Spacing: Please enter an integer between 2 and 10.");
        const QString count("Count: Please enter an integer between 10 and 1000.");
        const QString thickness("Thickness: Please enter an integer between 1 and 50.");
        const QString length("Length: Please enter a length greater than 0, or choose Automatic.");
        // Actions are separated by commas.
        const auto row = [&](const char* name, int kind, double before, const char* actions, const QString& answer,
                             QList<double> after) {
            QTest::newRow(name) << kind << before << QString(actions).split(',') << answer << after
                                << layouts[kind] + shown.value(kind);
        };
        row("bit 3 lost", KindLine, 0x7F, "Tool Color/#,Text Font", "OK", { 0x77, 2, 7, B + 1, 2, 3, 4 });
        row("boxes rebuild", KindRectangle, 0x07,
            "Text Color/Enable,Text Highlite/Enable,Text Font/Bold,Text Font/Underline,Text Highlite/#", "OK",
            { 0x52, 0, 0, 1, 2, B + 3, 4 });
        row("circle", KindCircle, 0x07, "Text Shadow/#,Display/Radius,Text Font", "OK", { 7, 2, 7, 1, 2, 3, B + 4, 3 });
        row("text keeps 4", KindText, 0x08, "Text Font/Italic,Text Color/#,Text Font", "OK",
            { 0x24, 2, 7, 1, B + 2, 3, 4 });
        row("cancel", KindText, 0x0F, "Text Font/Bold,Text Highlite/#,Text Font", "Cancel", { 0x0F, 0, 0, 1, 2, 3, 4 });
        row("reticule", KindReticule, 0, "Color/#,Axis/Vertical", "OK", { B + 1, 2, 3, 4, 5, 200, 1, 1 });
        row("arrow", KindArrow, 0, "Color/#,Direction/Left", "OK", { 0, 0, 0, B + 1, 2, 3, 4, 0 });
        row("scale bar", KindScaleBar, 0, "Tool Color/#,Text Font/Italic,Text Shadow/Enable,Text Font", "OK",
            { 0x22, 2, 7, B + 1, 2, 3, 4, 0, 6 });
        row("lowest, highest", KindReticule, 0, "Axis/Horizontal,Spacing=2,Count=1000", "OK", { 2, 1000, 0, 0 });
        row("count 1001", KindReticule, 0, "Axis/Horizontal,Spacing=10,Count=1001", count, { 5, 200, 1, 0 });
        row("spacing 1", KindReticule, 0, "Spacing=1,Count=50", spacing, { 5, 200, 1, 0 });
        row("typed, thick 50", KindScaleBar, 0, "Scale Bar/Automatic,Length=0.25,Thickness=50", "OK", { 0.25, 50 });
        row("thickness 51", KindScaleBar, 0, "Thickness=51", thickness, { 0, 6 });
        row("length 0", KindScaleBar, 0, "Scale Bar/Automatic,Length=0", length, { 0, 6 });
    }
    void edits()
    {
        const auto [kind, before, answer, after]
            = fetch<int, double, QString, QList<double>>("kind", "before", "answer", "after");
        QSettings ini(iniPath, QSettings::IniFormat); // the settings file as a user left it, written at once
        for (const auto& [key, value] :
            { std::pair("Tool/TextStyle", before), { "Tool/ToolColor", 1 }, { "Tool/TextColor", 2 },
                { "Tool/TextHighlite", 3 }, { "Tool/TextShadow", 4 }, { "Tool/ReticuleSpacing", 5 },
                { "Tool/ReticuleCount", 200 }, { "Tool/ReticuleVertical", 0 }, { "Tool/ScaleBarLength", before } })
            ini.setValue(QLatin1String(key), int(value));
        ini.sync();
        settings = std::make_unique<SettingsStore>(iniPath);
        const auto tool = make(kind);
        tool->label = QStringLiteral("old");
        if (auto* bar = dynamic_cast<CScaleBarTool*>(tool.get()))
            bar->SetScaleX(0.01), bar->SetPictureSize(QSize(640, 480));
        const QList<double> initial = stateOf(*tool);
        QColor picked;
        PlayedDialogs dialogs;
        dialogs.pick = [&picked](const QColor& from) { return picked = QColor(from.red(), from.green(), 0x80); };
        dialogs.refuse = [this](QWidget*, const QString& text) { refusals << text; };
        dialogs.play = [&, edited = tool.get()](QDialog& dialog) { play(dialog, *edited, initial, picked); };
        QCOMPARE(tool->EditOptions(dialogs, *settings), answer == "OK" ? 1 : 0);
        QCOMPARE(stateOf(*tool).mid(initial.size() - after.size()), after);
        QCOMPARE(tool->label, kind == KindText && answer == "OK" ? "old\nnew" : "old");
        // What was stored is what the next tool of the kind reads.
        QCOMPARE(stateOf(*make(kind)), stateOf(*tool));
    }
};

QTEST_MAIN(TestToolDialogs)
#include "tst_tooldialogs.moc"
