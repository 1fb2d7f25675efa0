// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QStringList>

#include "core/base/UserPrompts.h"
#include "core/document/DisplayRangeEditor.h"
#include "core/favorites/FavoritesFolderChooser.h"
#include "core/tools/CArrowTool.h"
#include "core/tools/CCircleTool.h"
#include "core/tools/CReticuleTool.h"
#include "core/tools/CScaleBarTool.h"
#include "core/tools/CTextTool.h"

// Answers prompts from a script and records what was asked, in order.
class ScriptedPrompts : public UserPrompts {
public:
    int saveChangesAnswer = 0;
    QString openFileAnswer, openFilterSeen;
    QStringList messages;
    // Yes/No questions: the answer, and the questions asked.
    bool yesNoAnswer = false;
    QStringList questions;
    Answer burnAnswer, calibrateAnswer;
    // 0 answers with the magnification shown (Cancel).
    unsigned magnificationAnswer = 0;
    bool magnificationDontShow = false;
    bool titleBlockAccept = false;
    TitleBlockText titleBlockAnswer;
    // Tool dialogs: accepted with this change applied, or cancelled.
    bool toolDialogAccept = true;
    std::function<void(CTool&)> toolDialogChange;
    // Save As: the path to answer (empty cancels) and what the dialog was given.
    QString saveFileAnswer, saveDefaultNameSeen, saveFilterSeen;
    // Add to Favorites: accepted with this name (the offered one when null)
    // and description, or cancelled.
    bool addFavoriteAccept = false;
    QString addFavoriteName, addFavoriteDescription, addFavoriteFolderSeen, addFavoriteDefaultNameSeen;
    // The print dialog: sets the printer up and answers; cancelled when unset.
    std::function<bool(QPrinter&)> printerSetup;
    // Sort Options: accepted with these values (-1 keeps the shown one), or
    // cancelled; what it showed.
    bool sortAccept = false;
    int sortDirectionAnswer = -1, sortFieldAnswer = -1, sortDirectionSeen = -1, sortFieldSeen = -1;
    // Find Favorite: what the user does with the list while it is open.
    std::function<void(CFavoritesList&)> findScript;
    // Favorites Folder: what the user does with the chooser; the answer is
    // the dialog's result. Cancelled when unset.
    std::function<bool(FavoritesFolderChooser&)> folderScript;
    // New Favorites Folder: accepted with this name, or cancelled.
    bool newFolderAccept = false;
    QString newFolderName;
    // Camera dialogs: the index to answer (-1 cancels) and what they showed;
    // Video Controls accepted with this change applied, or cancelled.
    int selectCameraAnswer = -1, videoFormatAnswer = -1;
    QStringList camerasSeen, formatsSeen;
    bool videoControlsAccept = false;
    std::function<void(QList<FrameSource::Control>&)> videoControlsChange;
    // Display Range: what the user does in the dialog; the answer is the
    // dialog's result (OK only once the editor accepted). Cancelled when unset.
    std::function<bool(DisplayRangeEditor&)> displayRangeScript;
    // Every prompt shown, by name.
    QStringList asked;

    int saveChanges() override { return ask("saveChanges", saveChangesAnswer); }
    QString openImageFileName(const QString& filter) override { return seen(openFilterSeen, filter, openFileAnswer); }
    void showMessage(const QString& text) override { messages << text; }
    bool askYesNo(const QString& question) override { return ask("yesNo", (questions << question, yesNoAnswer)); }
    QString saveMeasurementsFileName(const QString& defaultName) override
    {
        return ask("exportMeasurements", seen(saveDefaultNameSeen, defaultName, saveFileAnswer));
    }
    Answer burnNow() override { return ask("burnNow", burnAnswer); }
    Answer calibrateNow() override { return ask("calibrateNow", calibrateAnswer); }
    MagnificationAnswer askMagnification(unsigned current, bool showCheckBox) override
    {
        return ask(showCheckBox ? "magnification+check" : "magnification",
            MagnificationAnswer { magnificationAnswer ? magnificationAnswer : current, magnificationDontShow });
    }
    bool editTitleBlock(TitleBlockText& text) override
    {
        if (titleBlockAccept)
            text = titleBlockAnswer;
        return ask("titleBlock", titleBlockAccept);
    }
    QString saveImageFileName(const QString& defaultName, const QString& filter) override
    {
        saveFilterSeen = filter;
        return ask("saveAs", seen(saveDefaultNameSeen, defaultName, saveFileAnswer));
    }
    bool addFavorite(const QString& folder, QString& name, QString& description) override
    {
        addFavoriteFolderSeen = folder;
        addFavoriteDefaultNameSeen = name;
        if (addFavoriteAccept) {
            if (!addFavoriteName.isNull())
                name = addFavoriteName;
            description = addFavoriteDescription;
        }
        return ask("addFavorite", addFavoriteAccept);
    }
    bool choosePrinter(QPrinter& printer) override
    {
        return ask("print", true) && printerSetup && printerSetup(printer);
    }
    bool sortOptions(int& direction, int& field) override
    {
        sortDirectionSeen = direction;
        sortFieldSeen = field;
        if (sortAccept && sortDirectionAnswer >= 0)
            direction = sortDirectionAnswer;
        if (sortAccept && sortFieldAnswer >= 0)
            field = sortFieldAnswer;
        return ask("sortOptions", sortAccept);
    }
    void findFavorite(CFavoritesList& list) override
    {
        if (ask("findFavorite", bool(findScript)))
            findScript(list);
    }
    bool chooseFavoritesFolder(FavoritesFolderChooser& chooser) override
    {
        return ask("favoritesFolder", true) && folderScript && folderScript(chooser);
    }
    bool newFavoritesFolder(QString& name) override
    {
        if (newFolderAccept)
            name = newFolderName;
        return ask("newFolder", newFolderAccept);
    }
    int selectCamera(const QStringList& cameras, int) override
    {
        return ask("selectCamera", seen(camerasSeen, cameras, selectCameraAnswer));
    }
    int videoFormat(const QStringList& formats, int) override
    {
        return ask("videoFormat", seen(formatsSeen, formats, videoFormatAnswer));
    }
    bool videoControls(QList<FrameSource::Control>& controls) override
    {
        if (ask("videoControls", videoControlsAccept) && videoControlsChange)
            videoControlsChange(controls);
        return videoControlsAccept;
    }
    bool editDisplayRange(DisplayRangeEditor& editor) override
    {
        return ask("displayRange", true) && displayRangeScript && displayRangeScript(editor);
    }
    bool editToolOptions(CTool& tool) override { return toolDialog("tool", tool); }
    bool editCircleOptions(CCircleTool& tool) override { return toolDialog("circle", tool); }
    bool editReticuleOptions(CReticuleTool& tool) override { return toolDialog("reticule", tool); }
    bool editTextOptions(CTextTool& tool) override { return toolDialog("text", tool); }
    bool editArrowOptions(CArrowTool& tool) override { return toolDialog("arrow", tool); }
    bool editScaleBarOptions(CScaleBarTool& tool) override { return toolDialog("scalebar", tool); }

private:
    // Records the prompt's name and passes its answer on.
    template <typename T> T ask(const char* name, T answer)
    {
        asked << QString::fromLatin1(name);
        return answer;
    }
    // Records what a prompt was given and passes its answer on.
    template <typename S, typename T> static T seen(S& record, const S& given, T answer)
    {
        record = given;
        return answer;
    }
    bool toolDialog(const char* name, CTool& tool)
    {
        if (ask(name, toolDialogAccept) && toolDialogChange)
            toolDialogChange(tool);
        return toolDialogAccept;
    }
};
