// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/base/UserPrompts.h"

class QWidget;

// The prompts as real dialogs over the main window.
class DialogPrompts : public UserPrompts {
public:
    void setParentWindow(QWidget* window) { parent = window; }

    int saveChanges() override;
    QString openImageFileName(const QString& filter) override;
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& question) override;
    QString saveMeasurementsFileName(const QString& defaultName) override;
    Answer burnNow() override;
    Answer calibrateNow() override;
    MagnificationAnswer askMagnification(unsigned current, bool showCheckBox) override;
    bool editTitleBlock(TitleBlockText& text) override;
    QString saveImageFileName(const QString& defaultName, const QString& filter) override;
    bool addFavorite(const QString& folder, QString& name, QString& description) override;
    bool choosePrinter(QPrinter& printer) override;
    bool sortOptions(int& direction, int& field) override;
    void findFavorite(CFavoritesList& list) override;
    bool chooseFavoritesFolder(FavoritesFolderChooser& chooser) override;
    bool newFavoritesFolder(QString& name) override;
    int selectCamera(const QStringList& cameras, int current) override;
    int videoFormat(const QStringList& formats, int current) override;
    bool videoControls(QList<FrameSource::Control>& controls) override;
    bool editDisplayRange(DisplayRangeEditor& editor) override;

    bool editToolOptions(CTool& tool) override;
    bool editCircleOptions(CCircleTool& tool) override;
    bool editReticuleOptions(CReticuleTool& tool) override;
    bool editTextOptions(CTextTool& tool) override;
    bool editArrowOptions(CArrowTool& tool) override;
    bool editScaleBarOptions(CScaleBarTool& tool) override;

private:
    QWidget* parent = nullptr;
};
