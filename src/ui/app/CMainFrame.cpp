// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>

#include "core/base/CommandIds.h"
#include "core/base/CommandTable.h"
#include "core/base/SettingsStore.h"
#include "core/base/StatusPanes.h"
#include "core/base/UserPrompts.h"
#include "core/document/ImageDocument.h"
#include "core/favorites/FavoritesStore.h"
#include "core/measure/Measurements.h"
#include "core/tools/ToolKind.h"
#include "core/video/ViewScale.h"
#include "ui/app/CAboutDlg.h"
#include "ui/app/CHelpBar.h"
#include "ui/favorites/CFavoritesBar.h"
#include "ui/favorites/CFavoritesList.h"
#include "ui/measure/CMeasurementsBar.h"
#include "ui/widgets/CSizingControlBar.h"

namespace {

const QString windowsSection = QStringLiteral("Windows");

// Status bar panes: id, initial text (whose blanks size the pane).
struct StatusPaneInfo {
    int id;
    const char* initialText;
};
constexpr StatusPaneInfo statusPaneTable[] = {
    { ID_INDICATOR_ZOOM, "Zoom=    100%" },
    { ID_INDICATOR_MAG, "Mag=         0" },
    { ID_INDICATOR_LUMA, "Luma=       0" },
    { ID_INDICATOR_X, "X=      0" },
    { ID_INDICATOR_Y, "Y=      0 " },
};

} // namespace

CMainFrame::CMainFrame(SettingsStore& settings, UserPrompts& prompts, QWidget* parent)
    : QMainWindow(parent)
    , settings(settings)
    , prompts(prompts)
    , pane(settings, prompts, *this)
    , verticalHistogram(settings, false)
    , horizontalHistogram(settings, true)
{
    setWindowTitle(QStringLiteral("Scopique"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/scopique.svg")));
    setCentralWidget(&pane);
    // Keys typed into the frame belong to the picture.
    setFocusProxy(&pane);
    route = { &pane, this };

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createDockingBars();
    createMeasurements();
    horizontalHistogram.Create(pane.viewport(), pane.videoWnd());
    verticalHistogram.Create(pane.viewport(), pane.videoWnd());

    const ImageDocument& document = pane.imageDocument();
    connect(&document, &ImageDocument::toolChanged, this, &CMainFrame::commandStatesChanged);
    connect(&document, &ImageDocument::stateChanged, this, &CMainFrame::commandStatesChanged);
    connect(&favorites->list(), &QListWidget::itemSelectionChanged, this, &CMainFrame::commandStatesChanged);
    const QList<QWidget*> bars { toolBar, statusBar(), favorites, &horizontalHistogram, &verticalHistogram };
    for (QWidget* bar : bars)
        watchVisibility(*bar);

    if (settings.readInt(windowsSection, QStringLiteral("FavoritesShow"), 0) != 0)
        favorites->show();
    send(WM_APP_SET_MAG, qintptr(document.calibration.Magnification), 0);
    const auto showZoom
        = [this](double scale) { setStatusValue(ID_INDICATOR_ZOOM, "Zoom=%d%%", ViewScale::percent(scale)); };
    connect(&pane.videoWnd(), &CVideoWnd::scaleChanged, this, showZoom);
    connect(&pane.videoWnd(), &CVideoWnd::scaleChanged, this, &CMainFrame::commandStatesChanged);
    showZoom(pane.videoWnd().scale());
    updateCommandUI();
}

void CMainFrame::watchVisibility(QWidget& bar)
{
    bar.installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // Sent whenever a widget is explicitly shown or hidden, also while its
    // window is not on screen.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        commandStatesChanged();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::commandStatesChanged()
{
    if (commandUIPending)
        return;
    commandUIPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            commandUIPending = false;
            updateCommandUI();
        },
        Qt::QueuedConnection);
}

CMainFrame::~CMainFrame()
{
    // The pane is a member: take it back from the window before Qt deletes
    // the children, so that it is destroyed once.
    takeCentralWidget();
}

void CMainFrame::createActions()
{
    for (const CommandInfo& command : CommandTable::all()) {
        auto* action = new QAction(command.menuText, this);
        action->setData(command.id);
        action->setShortcuts(command.keys);
        action->setStatusTip(command.statusTip());
        action->setToolTip(
            command.toolTip().isEmpty() ? command.menuText.section(QLatin1Char('\t'), 0, 0) : command.toolTip());
        action->setCheckable(command.checkable);
        if (!command.iconName.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(command.iconName)));
        connect(action, &QAction::triggered, this, [this, id = command.id] {
            dispatch(id);
            // Border, title block and bar toggles change what they show.
            commandStatesChanged();
        });
        // Every command's keys work whether or not a menu shows the command.
        addAction(action);
        commandActions.insert(command.id, action);
    }
}

QMenu* CMainFrame::addPopup(QMenu* parent, const QString& title, const QList<int>& ids)
{
    QMenu* menu = parent ? parent->addMenu(title) : menuBar()->addMenu(title);
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(commandActions.value(id));
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUI);
    return menu;
}

void CMainFrame::createMenus()
{
    addPopup(nullptr, QStringLiteral("&File"),
        { ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_EXPORT_MEASUREMENTS, 0, ID_FILE_PRINT, 0, ID_APP_EXIT });
    addPopup(nullptr, QStringLiteral("&Edit"), { ID_EDIT_UNDO, ID_EDIT_REDO });
    QMenu* view = addPopup(nullptr, QStringLiteral("&View"),
        { ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_FAVORITES, ID_VIEW_MEASUREMENTS, ID_VIEW_HISTOGRAM });
    addPopup(view, QStringLiteral("Histogram Size"), { ID_HISTOGRAM_SMALL, ID_HISTOGRAM_MEDIUM, ID_HISTOGRAM_LARGE });
    view->addSeparator();
    for (int id : { ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_FIT_WINDOW, ID_VIEW_ACTUAL_PIXELS, ID_VIEW_FIT_LARGE })
        view->addAction(commandActions.value(id));
    addPopup(nullptr, QStringLiteral("F&avorites"),
        { ID_FAVORITES_OPEN, ID_FAVORITES_ADD, ID_FAVORITES_DELETE, ID_FAVORITES_SORT, ID_FAVORITES_FIND,
            ID_FAVORITES_FOLDER });
    addPopup(nullptr, QStringLiteral("&Tools"),
        { ID_BURN_ON, ID_RECORD_MEASUREMENT, ID_CALIBRATE, ID_CALIBRATE_VERTICAL, ID_SET_MAGNIFICATION, ID_RESET_TOOL,
            0, ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE, ID_CIRCLE, ID_POLYGON, 0, ID_RETICULE,
            ID_TEXT, ID_ARROW, ID_SCALE_BAR, 0, ID_TOOL_OPTIONS });
    QMenu* image = addPopup(nullptr, QStringLiteral("&Image"), { ID_FREEZE, ID_MONOCHROME, ID_EDGE_ENHANCE });
    image->addAction(commandActions.value(ID_DISPLAY_RANGE));
    addPopup(image, QStringLiteral("Border"), { ID_BORDER_NONE, ID_BORDER_THIN, ID_BORDER_PHOTO, ID_BORDER_ANSI });
    image->addAction(commandActions.value(ID_TITLE_BLOCK));
    image->addAction(commandActions.value(ID_VIDEO_FORMAT));
    image->addAction(commandActions.value(ID_VIDEO_CONTROLS));
    image->addAction(commandActions.value(ID_SELECT_CAMERA));
    addPopup(nullptr, QStringLiteral("&Help"), { ID_HELP_CONTENTS, ID_APP_ABOUT });
    // The nudge keys live in a menu that is never displayed.
    auto* notShown = new QMenu(QStringLiteral("Notshown"), this);
    for (int id = ID_NUDGE_LEFT; id <= ID_NUDGE_CTRL_SHIFT_DOWN; ++id) {
        // Options && Colors (32825) sits among the nudge ids but belongs to Tools.
        if (id != ID_TOOL_OPTIONS)
            notShown->addAction(commandActions.value(id));
    }
}

void CMainFrame::createToolBar()
{
    toolBar = addToolBar(QStringLiteral("Toolbar"));
    toolBar->setObjectName(QStringLiteral("toolbar"));
    toolBar->setIconSize(QSize(45, 45));
    toolBar->setMovable(false);
    for (int id : CommandTable::toolbar()) {
        if (id == 0)
            toolBar->addSeparator();
        else
            toolBar->addAction(commandActions.value(id));
    }
}

void CMainFrame::createStatusBar()
{
    // The message pane shows "Ready" whenever no prompt is on display.
    statusBar()->addWidget(new QLabel(QStringLiteral("Ready")), 1);
    for (const StatusPaneInfo& info : statusPaneTable) {
        auto* label = new QLabel(QString::fromLatin1(info.initialText));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 8);
        statusBar()->addPermanentWidget(label);
        statusPanes.insert(info.id, label);
    }
}

void CMainFrame::createDockingBars()
{
    // Made whether shown or not, so the library is listed at start.
    favorites = new CFavoritesBar(settings, prompts, *this, FavoritesStore::defaultRoot(), this);
    favorites->dockInto(*this, Qt::LeftDockWidgetArea);
    favorites->hide();
    addCommandTarget(favorites);

    // The help pane is always hidden at start.
    help = new CHelpBar(this);
    help->dockInto(*this, Qt::RightDockWidgetArea);
    help->hide();
}

void CMainFrame::createMeasurements()
{
    measurements = new Measurements(MeasurementJournal::defaultPath(), prompts, this);
    addCommandTarget(measurements);
    connect(&pane.imageDocument(), &ImageDocument::measured, measurements, &Measurements::record);
    connect(measurements, &Measurements::rowAppended, this, &CMainFrame::commandStatesChanged);
    connect(measurements, &Measurements::rowsReset, this, &CMainFrame::commandStatesChanged);
    measurementsView = new CMeasurementsBar(*measurements, this);
    measurementsView->dockInto(*this, Qt::BottomDockWidgetArea);
    measurementsView->hide();
    watchVisibility(*measurementsView);
    // The rows of earlier runs, before the bar may show them; a problem with
    // them is told over the window, once it is up.
    const QString problem = measurements->load();
    if (!problem.isEmpty())
        QMetaObject::invokeMethod(
            this, [this, problem] { prompts.showMessage(problem); }, Qt::QueuedConnection);
    if (settings.readInt(windowsSection, QStringLiteral("MeasurementsShow"), 0) != 0)
        measurementsView->show();
}

QLabel* CMainFrame::statusPane(int id) const
{
    return statusPanes.value(id);
}

void CMainFrame::setStatusValue(int paneId, const char* format, int value)
{
    if (QLabel* label = statusPanes.value(paneId)) {
        label->setText(QString::asprintf(format, value));
        label->repaint();
    }
}

qintptr CMainFrame::send(AppMessage message, qintptr wParam, qintptr lParam)
{
    switch (message) {
    case WM_APP_SET_XY:
        setStatusValue(ID_INDICATOR_X, "X=%d", int(wParam));
        setStatusValue(ID_INDICATOR_Y, "Y=%d", int(lParam));
        setStatusValue(ID_INDICATOR_LUMA, "Luma=%d", pane.imageDocument().GetLuma(int(wParam), int(lParam)));
        return 0;
    case WM_APP_SET_MAG:
        setStatusValue(ID_INDICATOR_MAG, "Mag=%d", int(wParam));
        return 0;
    case WM_APP_SET_LUMA:
        setStatusValue(ID_INDICATOR_LUMA, "Luma=%d", int(wParam));
        return 0;
    case WM_APP_SET_TITLE: {
        // "[*]" in a window title is Qt's modified mark; doubled it shows as is.
        QString name = AppMessageSink::textOf(wParam);
        name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
        setWindowTitle(QStringLiteral("Scopique Pro - ") + name);
        return 0;
    }
    case WM_APP_GET_LUMA:
        return pane.imageDocument().GetLuma(int(wParam), int(lParam));
    case WM_APP_OPEN_IMAGE:
        return pane.OpenImage(AppMessageSink::textOf(wParam));
    case WM_APP_GET_FAVORITES_FOLDER:
    case WM_APP_FAVORITE_ADDED:
        return favorites->send(message, wParam, lParam);
    case WM_APP_SHOW_HISTOGRAM:
        if (lParam != 0) {
            histogram(wParam != 0).Show(true, false);
        } else {
            horizontalHistogram.Show(false, false);
            verticalHistogram.Show(false, false);
        }
        return 0;
    case WM_APP_SET_HISTOGRAM_MARK:
        // Marks 0 and 1 belong to the horizontal profile, 2 and 3 to the vertical.
        if (wParam >= 0 && wParam <= 3)
            histogram(wParam < 2).SetMark(int(wParam % 2), int(lParam));
        return 0;
    case WM_APP_UPDATE_HISTOGRAM: {
        CHistogramWnd& chosen = histogram(wParam != 0);
        pane.imageDocument().SampleProfile(wParam != 0, chosen.samples());
        chosen.Draw();
        return 0;
    }
    case WM_APP_GET_HISTOGRAM_DATA:
        return reinterpret_cast<qintptr>(histogram(wParam != 0).samples());
    default:
        // The favourites library answers the others once it exists.
        return 0;
    }
}

bool CMainFrame::dispatch(int id)
{
    for (CommandTarget* target : route) {
        if (target->onCommand(id))
            return true;
    }
    return false;
}

void CMainFrame::addCommandTarget(CommandTarget* target)
{
    route.insert(route.size() - 1, target);
}

CHistogramWnd* CMainFrame::histogramOfTool()
{
    const CTool* tool = pane.imageDocument().activeTool();
    if (!tool)
        return nullptr;
    const bool vertical = tool->kind == KindVertical || tool->kind == KindCalibrateVertical;
    return &histogram(!vertical);
}

namespace {

// The histogram commands serve the tools that have a brightness profile.
bool toolHasProfile(const CTool* tool)
{
    return tool && tool->kind <= KindVertical;
}

int thicknessOf(int id)
{
    switch (id) {
    case ID_HISTOGRAM_SMALL:
        return 64;
    case ID_HISTOGRAM_MEDIUM:
        return 128;
    case ID_HISTOGRAM_LARGE:
        return 256;
    default:
        return 0;
    }
}

} // namespace

void CMainFrame::updateCommandUI()
{
    for (auto it = commandActions.cbegin(); it != commandActions.cend(); ++it) {
        CommandState state;
        for (const CommandTarget* target : route) {
            if (target->updateCommand(it.key(), state))
                break;
        }
        QAction* action = it.value();
        action->setEnabled(state.enabled);
        if (action->isCheckable())
            action->setChecked(state.checked);
        if (state.text)
            action->setText(*state.text);
    }
}

bool CMainFrame::onCommand(int id)
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        toolBar->setVisible(toolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        return true;
    case ID_VIEW_FAVORITES:
        favorites->setVisible(favorites->isHidden());
        return true;
    case ID_VIEW_MEASUREMENTS:
        measurementsView->setVisible(measurementsView->isHidden());
        return true;
    case ID_VIEW_HISTOGRAM:
        if (CHistogramWnd* chosen = histogramOfTool())
            chosen->Show(chosen->isHidden(), true);
        return true;
    case ID_HISTOGRAM_SMALL:
    case ID_HISTOGRAM_MEDIUM:
    case ID_HISTOGRAM_LARGE:
        horizontalHistogram.SetThickness(thicknessOf(id));
        verticalHistogram.SetThickness(thicknessOf(id));
        return true;
    case ID_HELP_CONTENTS:
        help->show();
        help->showIndex();
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg about(this);
        about.exec();
        return true;
    }
    case ID_APP_EXIT:
        close();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::updateCommand(int id, CommandState& state) const
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        state = { true, !toolBar->isHidden(), {} };
        return true;
    case ID_VIEW_STATUS_BAR:
        state = { true, !statusBar()->isHidden(), {} };
        return true;
    case ID_VIEW_FAVORITES:
        state = { true, !favorites->isHidden(), {} };
        return true;
    case ID_VIEW_MEASUREMENTS:
        state = { true, !measurementsView->isHidden(), {} };
        return true;
    case ID_VIEW_HISTOGRAM:
        state = { toolHasProfile(pane.imageDocument().activeTool()),
            !horizontalHistogram.isHidden() || !verticalHistogram.isHidden(), {} };
        return true;
    case ID_HISTOGRAM_SMALL:
    case ID_HISTOGRAM_MEDIUM:
    case ID_HISTOGRAM_LARGE:
        state = { toolHasProfile(pane.imageDocument().activeTool()), horizontalHistogram.thickness() == thicknessOf(id),
            {} };
        return true;
    case ID_HELP_CONTENTS:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    pane.onCommand(ID_RESET_TOOL);
    if (pane.imageDocument().ImageChanged()) {
        const int answer = prompts.saveChanges();
        if (answer == UserPrompts::SaveChangesAddToFavorites)
            dispatch(ID_FAVORITES_ADD);
        else if (answer == UserPrompts::SaveChangesSaveAsFile)
            dispatch(ID_FILE_SAVE);
    }
    settings.writeInt(windowsSection, QStringLiteral("FavoritesShow"), favorites->isHidden() ? 0 : 1);
    settings.writeInt(windowsSection, QStringLiteral("MeasurementsShow"), measurementsView->isHidden() ? 0 : 1);
    event->accept();
}
