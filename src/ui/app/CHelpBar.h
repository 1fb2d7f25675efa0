// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>
#include <QUrl>

#include "ui/widgets/CSizingControlBar.h"

class QTextBrowser;

// The help pane: a bar captioned "Help" whose whole area is a browser
// showing the operation manual, the HTML pages of the "Help" folder.
class CHelpBar : public CSizingControlBar {
    Q_OBJECT

public:
    explicit CHelpBar(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return view; }

    // The manual's folder: "Help" beside the executable, else the installed
    // one; when neither exists, the missing folder beside the executable.
    static QString locateFolder();
    QString folder() const { return helpFolder; }
    void setFolder(const QString& folder) { helpFolder = folder; }
    QUrl indexUrl() const;

    // Loads the index page, again even when it is already shown.
    void showIndex();

private:
    QTextBrowser* view;
    QString helpFolder;
};
