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
    QString openFileAnswer;
    QString openFilterSeen;
    QStringList messages;
    // Yes/No questions: the answer, and the questions asked.
    bool yesNoAnswer = false;
    QStringList questions;
    Answer burnAnswer;
    Answer calibrateAnswer;
    // 0 answers with the magnification shown (Cancel).
    unsigned magnificationAnswer = 0;
    bool magnificationDontShow = false;
    bool titleBlockAccept = false;
    TitleBlockText titleBlockAnswer;
    // Tool dialogs: accepted with this change applied, or cancelled.
    bool toolDialogAccept = true;
    std::function<void(CTool&)> toolDialogChange;
    // Save As: the path to answer (empty cancels) and what the dialog was given.
    QString saveFileAnswer;
    QString saveDefaultNameSeen;
    QString saveFilterSeen;
    // Add to Favorites: accepted with this name (the offered one when null)
    // and description, or cancelled.
    bool addFavoriteAccept = false;
    QString addFavoriteName;
    QString addFavoriteDescription;
    QString addFavoriteFolderSeen;
    QString addFavoriteDefaultNameSeen;
    // The print dialog: sets the printer up and answers; cancelled when unset.
    std::function<bool(QPrinter&)> printerSetup;
    // Sort Options: accepted with these values (-1 keeps the shown one), or
    // cancelled; what it showed.
    bool sortAccept = false;
    int sortDirectionAnswer = -1;
    int sortFieldAnswer = -1;
    int sortDirectionSeen = -1;
    int sortFieldSeen = -1;
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
    int selectCameraAnswer = -1;
    int videoFormatAnswer = -1;
    QStringList camerasSeen;
    QStringList formatsSeen;
    bool videoControlsAccept = false;
    std::function<void(QList<FrameSource::Control>&)> videoControlsChange;
    // Display Range: what the user does in the dialog; the answer is the
    // dialog's result (OK only once the editor accepted). Cancelled when unset.
    std::function<bool(DisplayRangeEditor&)> displayRangeScript;
    // Every prompt shown, by name.
    QStringList asked;

    int saveChanges() override
    {
        asked << QStringLiteral("saveChanges");
        return saveChangesAnswer;
    }
    QString openImageFileName(const QString& filter) override
    {
        openFilterSeen = filter;
        return openFileAnswer;
    }
    void showMessage(const QString& text) override { messages << text; }
    bool askYesNo(const QString& question) override
    {
        asked << QStringLiteral("yesNo");
        questions << question;
        return yesNoAnswer;
    }
    QString saveMeasurementsFileName(const QString& defaultName) override
    {
        asked << QStringLiteral("exportMeasurements");
        saveDefaultNameSeen = defaultName;
        return saveFileAnswer;
    }
    Answer burnNow() override
    {
        asked << QStringLiteral("burnNow");
        return burnAnswer;
    }
    Answer calibrateNow() override
    {
        asked << QStringLiteral("calibrateNow");
        return calibrateAnswer;
    }
    MagnificationAnswer askMagnification(unsigned current, bool showCheckBox) override
    {
        asked << (showCheckBox ? QStringLiteral("magnification+check") : QStringLiteral("magnification"));
        return { magnificationAnswer ? magnificationAnswer : current, magnificationDontShow };
    }
    bool editTitleBlock(TitleBlockText& text) override
    {
        asked << QStringLiteral("titleBlock");
        if (titleBlockAccept)
            text = titleBlockAnswer;
        return titleBlockAccept;
    }
    QString saveImageFileName(const QString& defaultName, const QString& filter) override
    {
        asked << QStringLiteral("saveAs");
        saveDefaultNameSeen = defaultName;
        saveFilterSeen = filter;
        return saveFileAnswer;
    }
    bool addFavorite(const QString& folder, QString& name, QString& description) override
    {
        asked << QStringLiteral("addFavorite");
        addFavoriteFolderSeen = folder;
        addFavoriteDefaultNameSeen = name;
        if (addFavoriteAccept) {
            if (!addFavoriteName.isNull())
                name = addFavoriteName;
            description = addFavoriteDescription;
        }
        return addFavoriteAccept;
    }
    bool choosePrinter(QPrinter& printer) override
    {
        asked << QStringLiteral("print");
        return printerSetup && printerSetup(printer);
    }
    bool sortOptions(int& direction, int& field) override
    {
        asked << QStringLiteral("sortOptions");
        sortDirectionSeen = direction;
        sortFieldSeen = field;
        if (!sortAccept)
            return false;
        if (sortDirectionAnswer >= 0)
            direction = sortDirectionAnswer;
        if (sortFieldAnswer >= 0)
            field = sortFieldAnswer;
        return true;
    }
    void findFavorite(CFavoritesList& list) override
    {
        asked << QStringLiteral("findFavorite");
        if (findScript)
            findScript(list);
    }
    bool chooseFavoritesFolder(FavoritesFolderChooser& chooser) override
    {
        asked << QStringLiteral("favoritesFolder");
        return folderScript && folderScript(chooser);
    }
    bool newFavoritesFolder(QString& name) override
    {
        asked << QStringLiteral("newFolder");
        if (newFolderAccept)
            name = newFolderName;
        return newFolderAccept;
    }
    int selectCamera(const QStringList& cameras, int) override
    {
        asked << QStringLiteral("selectCamera");
        camerasSeen = cameras;
        return selectCameraAnswer;
    }
    int videoFormat(const QStringList& formats, int) override
    {
        asked << QStringLiteral("videoFormat");
        formatsSeen = formats;
        return videoFormatAnswer;
    }
    bool videoControls(QList<FrameSource::Control>& controls) override
    {
        asked << QStringLiteral("videoControls");
        if (videoControlsAccept && videoControlsChange)
            videoControlsChange(controls);
        return videoControlsAccept;
    }
    bool editDisplayRange(DisplayRangeEditor& editor) override
    {
        asked << QStringLiteral("displayRange");
        return displayRangeScript && displayRangeScript(editor);
    }
    bool editToolOptions(CTool& tool) override { return toolDialog(QStringLiteral("tool"), tool); }
    bool editCircleOptions(CCircleTool& tool) override { return toolDialog(QStringLiteral("circle"), tool); }
    bool editReticuleOptions(CReticuleTool& tool) override { return toolDialog(QStringLiteral("reticule"), tool); }
    bool editTextOptions(CTextTool& tool) override { return toolDialog(QStringLiteral("text"), tool); }
    bool editArrowOptions(CArrowTool& tool) override { return toolDialog(QStringLiteral("arrow"), tool); }
    bool editScaleBarOptions(CScaleBarTool& tool) override { return toolDialog(QStringLiteral("scalebar"), tool); }

private:
    bool toolDialog(const QString& name, CTool& tool)
    {
        asked << name;
        if (toolDialogAccept && toolDialogChange)
            toolDialogChange(tool);
        return toolDialogAccept;
    }
};
