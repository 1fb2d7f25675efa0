// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/base/CommandTable.h"

#include "core/base/CommandIds.h"

namespace {

QKeySequence key(QKeyCombination combination)
{
    return QKeySequence(combination);
}

QList<CommandInfo> buildTable()
{
    const Qt::KeyboardModifier ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifier shift = Qt::ShiftModifier;
    const bool checkable = true;
    return {
        // File
        { ID_FILE_OPEN, QStringLiteral("&Open..."), {}, QStringLiteral("Open an existing image\nOpen"), {} },
        { ID_FILE_SAVE, QStringLiteral("&Save..."), {},
            QStringLiteral("Save the picture with its annotations as an image file\nSave"), {} },
        { ID_FILE_PRINT, QStringLiteral("&Print"), {}, QStringLiteral("Print Image\nPrint"), QStringLiteral("print") },
        { ID_APP_EXIT, QStringLiteral("E&xit"), {}, QStringLiteral("Quit the application\nExit"), {} },
        // View
        { ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"), {}, QStringLiteral("Show or hide the toolbar\nToggle ToolBar"),
            {}, checkable },
        { ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), {},
            QStringLiteral("Show or hide the status bar\nToggle StatusBar"), {}, checkable },
        { ID_VIEW_FAVORITES, QStringLiteral("&Favorites"), {},
            QStringLiteral("Show or hide the favorites bar\nToggle Favorites"), {}, checkable },
        { ID_VIEW_HISTOGRAM, QStringLiteral("&Histogram"), {},
            QStringLiteral("Show or hide the brightness profile of the measurement\nToggle Histogram"), {}, checkable },
        { ID_HISTOGRAM_SMALL, QStringLiteral("Small"), {}, QStringLiteral("Small brightness profile\nSmall"), {},
            checkable },
        { ID_HISTOGRAM_MEDIUM, QStringLiteral("Medium"), {}, QStringLiteral("Medium brightness profile\nMedium"), {},
            checkable },
        { ID_HISTOGRAM_LARGE, QStringLiteral("Large"), {}, QStringLiteral("Large brightness profile\nLarge"), {},
            checkable },
        { ID_VIEW_ZOOM_IN, QStringLiteral("Zoom &In\t+"),
            { key(Qt::Key_Plus), key(Qt::Key_Equal), key(ctrl | Qt::Key_Plus) },
            QStringLiteral("Show the picture larger\nZoom In"), {} },
        { ID_VIEW_ZOOM_OUT, QStringLiteral("Zoom &Out\t-"), { key(Qt::Key_Minus), key(ctrl | Qt::Key_Minus) },
            QStringLiteral("Show the picture smaller\nZoom Out"), {} },
        { ID_VIEW_FIT_WINDOW, QStringLiteral("&Fit to Window\tF"), { key(Qt::Key_F) },
            QStringLiteral("Show the whole picture in the window\nFit to Window"), {} },
        { ID_VIEW_ACTUAL_PIXELS, QStringLiteral("&Actual Pixels\t1"), { key(Qt::Key_1) },
            QStringLiteral("Show one screen pixel per picture pixel\nActual Pixels"), {} },
        { ID_VIEW_FIT_LARGE, QStringLiteral("Fit &Large Pictures"), {},
            QStringLiteral("Open pictures larger than the window fitted to it\nFit Large Pictures"), {}, checkable },
        // Favorites
        { ID_FAVORITES_OPEN, QStringLiteral("&Open!"), {}, QStringLiteral("Open the selected favorite\nOpen Favorite"),
            {} },
        { ID_FAVORITES_ADD, QStringLiteral("&Add..."), {},
            QStringLiteral("Add current image to favorites\nAdd to Favorites"), {} },
        { ID_FAVORITES_DELETE, QStringLiteral("&Delete!"), {},
            QStringLiteral("Delete the selected favorite\nDelete Favorite"), {} },
        { ID_FAVORITES_SORT, QStringLiteral("&Sort..."), {}, QStringLiteral("Sort the favorites\nSort Favorites"), {} },
        { ID_FAVORITES_FIND, QStringLiteral("&Find..."), {}, QStringLiteral("Find a favorite\nFind Favorite"), {} },
        { ID_FAVORITES_FOLDER, QStringLiteral("Fo&lder..."), {},
            QStringLiteral("Choose or create a favorites folder\nFavorites Folder"), {} },
        // Tools
        { ID_BURN_ON, QStringLiteral("Burn On!\tB"), { key(Qt::Key_B) },
            QStringLiteral("Burn the tool into the image\nBurn On"), QStringLiteral("burn") },
        { ID_CALIBRATE, QStringLiteral("Calibrate\tShft+H"), { key(shift | Qt::Key_H) },
            QStringLiteral("Calibrate horizontally against a feature of known size\nCalibrate"),
            QStringLiteral("calibrate") },
        { ID_CALIBRATE_VERTICAL, QStringLiteral("Calibrate Vertical\tShft+V"), { key(shift | Qt::Key_V) },
            QStringLiteral("Calibrate vertically against a feature of known size\nCalibrate Vertical"),
            QStringLiteral("calibrate-vertical") },
        { ID_SET_MAGNIFICATION, QStringLiteral("Set Magnification...\tM"), { key(Qt::Key_M) },
            QStringLiteral("Set the current magnification\nSet Magnification"), {} },
        { ID_RESET_TOOL, QStringLiteral("Reset Tool!\tX"), { key(Qt::Key_X) },
            QStringLiteral("Remove the current tool\nReset Tool"), QStringLiteral("reset") },
        { ID_HORIZONTAL, QStringLiteral("Horizontal\tH"), { key(Qt::Key_H), key(ctrl | Qt::Key_H) },
            QStringLiteral("Measure a horizontal distance\nHorizontal"), QStringLiteral("horizontal"), checkable },
        { ID_VERTICAL, QStringLiteral("Vertical\tV"), { key(Qt::Key_V), key(ctrl | Qt::Key_V) },
            QStringLiteral("Measure a vertical distance\nVertical"), QStringLiteral("vertical"), checkable },
        { ID_LINE, QStringLiteral("Line\tL"), { key(Qt::Key_L), key(ctrl | Qt::Key_L) },
            QStringLiteral("Measure a distance along a line\nLine"), QStringLiteral("line"), checkable },
        { ID_ANGLE, QStringLiteral("Angle\tA"), { key(Qt::Key_A), key(ctrl | Qt::Key_A) },
            QStringLiteral("Measure an angle\nAngle"), QStringLiteral("angle"), checkable },
        { ID_RECTANGLE, QStringLiteral("Rectangle\tR"), { key(Qt::Key_R), key(ctrl | Qt::Key_R) },
            QStringLiteral("Measure the area of a rectangle\nRectangle"), QStringLiteral("rectangle"), checkable },
        { ID_CIRCLE, QStringLiteral("Circle\tC"), { key(Qt::Key_C), key(ctrl | Qt::Key_C) },
            QStringLiteral("Measure a circle\nCircle"), QStringLiteral("circle"), checkable },
        { ID_POLYGON, QStringLiteral("Polygon\tP"), { key(Qt::Key_P), key(ctrl | Qt::Key_P) },
            QStringLiteral("Measure the area of a polygon\nPolygon"), QStringLiteral("polygon"), checkable },
        { ID_RETICULE, QStringLiteral("Reticule\tG"), { key(Qt::Key_G) },
            QStringLiteral("Lay a reticule over the image\nReticule"), QStringLiteral("reticule"), checkable },
        { ID_TEXT, QStringLiteral("Text\tT"), { key(Qt::Key_T) }, QStringLiteral("Write text on the image\nText"),
            QStringLiteral("text"), checkable },
        { ID_ARROW, QStringLiteral("Arrow\tW"), { key(Qt::Key_W) }, QStringLiteral("Point with an arrow\nArrow"),
            QStringLiteral("arrow"), checkable },
        { ID_SCALE_BAR, QStringLiteral("&Scale Bar\tS"), { key(Qt::Key_S) },
            QStringLiteral("Lay a scale bar of the calibrated length on the picture\nScale Bar"),
            QStringLiteral("scale-bar"), checkable },
        { ID_TOOL_OPTIONS, QStringLiteral("Options && Colors...\tO"), { key(Qt::Key_O) },
            QStringLiteral("Change the colours, font and options of the tool\nOptions and Colors"), {} },
        // Image
        { ID_FREEZE, QStringLiteral("&Freeze!\tEsc"), {}, QStringLiteral("Freeze or resume the live image\nFreeze"),
            {} },
        { ID_MONOCHROME, QStringLiteral("&Monochrome!\tShift+M"), { key(shift | Qt::Key_M) },
            QStringLiteral("Turn the image into grey levels\nMonochrome"), {} },
        { ID_EDGE_ENHANCE, QStringLiteral("&Edge Enhance!\tShift+E"), { key(shift | Qt::Key_E) },
            QStringLiteral("Bring out the edges of the image\nEdge Enhance"), {} },
        { ID_DISPLAY_RANGE, QStringLiteral("&Display Range..."), {},
            QStringLiteral("Choose the sample values shown as black and white\nDisplay Range"), {} },
        { ID_BORDER_NONE, QStringLiteral("None"), {}, QStringLiteral("No Border\nNo Border"), {}, checkable },
        { ID_BORDER_THIN, QStringLiteral("Thin"), {}, QStringLiteral("Thin Border\nThin Border"), {}, checkable },
        { ID_BORDER_PHOTO, QStringLiteral("Photo"), {}, QStringLiteral("Photo Border\nPhoto Border"), {}, checkable },
        { ID_BORDER_ANSI, QStringLiteral("ANSI"), {}, QStringLiteral("ANSI Border\nANSI Border"), {}, checkable },
        { ID_TITLE_BLOCK, QStringLiteral("Title Block"), {}, {}, {}, checkable },
        { ID_VIDEO_FORMAT, QStringLiteral("Video Format..."), {},
            QStringLiteral("Choose the camera's picture format\nVideo Format"), {} },
        { ID_VIDEO_CONTROLS, QStringLiteral("Video Controls..."), {},
            QStringLiteral("Adjust the camera\nVideo Controls"), {} },
        { ID_SELECT_CAMERA, QStringLiteral("Select Camera..."), {},
            QStringLiteral("Choose the camera to show\nSelect Camera"), {} },
        // Help
        { ID_HELP_CONTENTS, QStringLiteral("&Help Contents\tF1"), { key(Qt::Key_F1) },
            QStringLiteral("Display Operation Manual\nShow Manual"), QStringLiteral("help") },
        { ID_APP_ABOUT, QStringLiteral("&About Scopique..."), {},
            QStringLiteral("Display program information and version\nAbout"), {} },
        // Without a menu item: toolbar camera buttons, a second live command, a Cut key that does nothing.
        { ID_FREEZE_IMAGE, QStringLiteral("Freeze Image"), { key(Qt::Key_Escape) },
            QStringLiteral("Freeze Image\nFreeze"), QStringLiteral("freeze") },
        { ID_MAKE_IMAGE_LIVE, QStringLiteral("Make Image Live"),
            { QKeySequence(QStringLiteral("`")), QKeySequence(QStringLiteral("~")) },
            QStringLiteral("Make Image Live\nLive"), QStringLiteral("live") },
        { ID_LIVE, {}, {}, {}, {} },
        { ID_EDIT_CUT, QStringLiteral("Cut"), { key(ctrl | Qt::Key_X) }, {}, {} },
        // Edit
        { ID_EDIT_UNDO, QStringLiteral("&Undo\tCtrl+Z"), { key(ctrl | Qt::Key_Z) },
            QStringLiteral("Undo the last change to the picture\nUndo"), {} },
        { ID_EDIT_REDO, QStringLiteral("&Redo\tCtrl+Y"), { key(ctrl | Qt::Key_Y), key(ctrl | shift | Qt::Key_Z) },
            QStringLiteral("Redo the change undone last\nRedo"), {} },
        // The "Notshown" menu: arrow keys that nudge the tool.
        { ID_NUDGE_LEFT, QStringLiteral("L"), { key(Qt::Key_Left) }, {}, {} },
        { ID_NUDGE_RIGHT, QStringLiteral("R"), { key(Qt::Key_Right) }, {}, {} },
        { ID_NUDGE_UP, QStringLiteral("U"), { key(Qt::Key_Up) }, {}, {} },
        { ID_NUDGE_DOWN, QStringLiteral("D"), { key(Qt::Key_Down) }, {}, {} },
        { ID_NUDGE_SHIFT_LEFT, QStringLiteral("LS"), { key(shift | Qt::Key_Left) }, {}, {} },
        { ID_NUDGE_SHIFT_RIGHT, QStringLiteral("RS"), { key(shift | Qt::Key_Right) }, {}, {} },
        { ID_NUDGE_SHIFT_UP, QStringLiteral("US"), { key(shift | Qt::Key_Up) }, {}, {} },
        { ID_NUDGE_SHIFT_DOWN, QStringLiteral("DS"), { key(shift | Qt::Key_Down) }, {}, {} },
        { ID_NUDGE_CTRL_LEFT, QStringLiteral("LC"), { key(ctrl | Qt::Key_Left) }, {}, {} },
        { ID_NUDGE_CTRL_RIGHT, QStringLiteral("RC"), { key(ctrl | Qt::Key_Right) }, {}, {} },
        { ID_NUDGE_CTRL_UP, QStringLiteral("UC"), { key(ctrl | Qt::Key_Up) }, {}, {} },
        { ID_NUDGE_CTRL_DOWN, QStringLiteral("DC"), { key(ctrl | Qt::Key_Down) }, {}, {} },
        { ID_NUDGE_CTRL_SHIFT_LEFT, QStringLiteral("LCS"), { key(ctrl | shift | Qt::Key_Left) }, {}, {} },
        { ID_NUDGE_CTRL_SHIFT_RIGHT, QStringLiteral("RCS"), { key(ctrl | shift | Qt::Key_Right) }, {}, {} },
        { ID_NUDGE_CTRL_SHIFT_UP, QStringLiteral("UCS"), { key(ctrl | shift | Qt::Key_Up) }, {}, {} },
        { ID_NUDGE_CTRL_SHIFT_DOWN, QStringLiteral("DCS"), { key(ctrl | shift | Qt::Key_Down) }, {}, {} },
        // The results table.
        { ID_RECORD_MEASUREMENT, QStringLiteral("&Record Measurement\tCtrl+M"), { key(ctrl | Qt::Key_M) },
            QStringLiteral("Add the values of the measuring tool to the results\nRecord Measurement"), {} },
        { ID_VIEW_MEASUREMENTS, QStringLiteral("&Measurements"), {},
            QStringLiteral("Show or hide the table of recorded measurements\nToggle Measurements"), {}, checkable },
        { ID_FILE_EXPORT_MEASUREMENTS, QStringLiteral("&Export Measurements..."), {},
            QStringLiteral("Save the recorded measurements as a CSV file\nExport Measurements"), {} },
    };
}

} // namespace

const QList<CommandInfo>& CommandTable::all()
{
    static const QList<CommandInfo> table = buildTable();
    return table;
}

const CommandInfo* CommandTable::find(int id)
{
    for (const CommandInfo& command : all()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

const QList<int>& CommandTable::toolbar()
{
    static const QList<int> buttons = { ID_FILE_PRINT, 0, ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE,
        ID_CIRCLE, ID_POLYGON, 0, ID_RETICULE, ID_ARROW, ID_SCALE_BAR, ID_TEXT, ID_RESET_TOOL, 0, ID_CALIBRATE,
        ID_CALIBRATE_VERTICAL, ID_BURN_ON, ID_MAKE_IMAGE_LIVE, ID_FREEZE_IMAGE, ID_HELP_CONTENTS };
    return buttons;
}
