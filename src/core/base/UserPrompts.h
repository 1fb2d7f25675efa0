// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>

#include "core/base/ToolDialogs.h"
#include "core/capture/FrameSource.h"

class CFavoritesList;
class DisplayRangeEditor;
class FavoritesFolderChooser;
class QPrinter;

// The questions and messages that logic paths put to the user, and the
// tools' option dialogs. The program shows real dialogs; tests answer from
// a script.
class UserPrompts : public ToolDialogs {
public:
    // A Yes/No question with a "Don't show me this again" check box, which
    // counts whatever button closed the dialog.
    struct Answer {
        bool yes = false;
        bool dontShowAgain = false;
    };
    struct MagnificationAnswer {
        // The entered magnification on OK, the one shown on Cancel.
        unsigned magnification = 0;
        bool dontShowAgain = false;
    };
    struct TitleBlockText {
        QString title1;
        QString title2;
        QString title3;
        bool useDate = true;
    };

    // The answers of "Save Changes" other than "No!": the ids of its buttons.
    static constexpr int SaveChangesSaveAsFile = 1057;
    static constexpr int SaveChangesAddToFavorites = 1058;

    // "Save Changes" at close: SaveChangesAddToFavorites, SaveChangesSaveAsFile
    // or anything else for "No!".
    virtual int saveChanges() = 0;
    // A file to open; empty when the user cancels.
    virtual QString openImageFileName(const QString& filter) = 0;
    // An OK message box with the application's title.
    virtual void showMessage(const QString& text) = 0;
    // A Yes/No question with the application's title: true for Yes.
    virtual bool askYesNo(const QString& question) = 0;
    // "Save As" for the measurements as CSV, starting at `defaultName`: the
    // chosen path, empty when the user cancels.
    virtual QString saveMeasurementsFileName(const QString& defaultName) = 0;
    // "Burn to Image".
    virtual Answer burnNow() = 0;
    // "System is not Calibrated".
    virtual Answer calibrateNow() = 0;
    // "Set Magnification", with or without its check box.
    virtual MagnificationAnswer askMagnification(unsigned current, bool showCheckBox) = 0;
    // "Title Block": true with the edited texts on OK.
    virtual bool editTitleBlock(TitleBlockText& text) = 0;
    // "Save As" for a picture, starting at `defaultName`: the chosen path,
    // empty when the user cancels.
    virtual QString saveImageFileName(const QString& defaultName, const QString& filter) = 0;
    // "Add to Favorites" in `folder`: true with the edited name and
    // description on OK.
    virtual bool addFavorite(const QString& folder, QString& name, QString& description) = 0;
    // The print dialog: true when the user chose to print on `printer`.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // "Sort Options" showing `direction` and `field`: true with the chosen
    // ones on OK.
    virtual bool sortOptions(int& direction, int& field) = 0;
    // "Find Favorite" searching `list`; its matches stay selected.
    virtual void findFavorite(CFavoritesList& list) = 0;
    // "Favorites Folder" run by `chooser`: true when a folder was chosen
    // (the chooser holds it).
    virtual bool chooseFavoritesFolder(FavoritesFolderChooser& chooser) = 0;
    // "New Favorites Folder": true with the typed name on OK.
    virtual bool newFavoritesFolder(QString& name) = 0;
    // "Select Camera": the chosen index on OK, -1 otherwise.
    virtual int selectCamera(const QStringList& cameras, int current) = 0;
    // "Video Format": the chosen entry on OK, -1 otherwise.
    virtual int videoFormat(const QStringList& formats, int current) = 0;
    // "Video Controls": true with the adjusted values on OK.
    virtual bool videoControls(QList<FrameSource::Control>& controls) = 0;
    // "Display Range", run by `editor`: true when the user chose OK and the
    // editor applied the range; on false the caller goes back (editor.cancel()).
    virtual bool editDisplayRange(DisplayRangeEditor& editor) = 0;
};
