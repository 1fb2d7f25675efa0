// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

// "Save Changes" at close, after something was burnt into the image. Ends
// with UserPrompts::SaveChangesAddToFavorites (Add to Favorites!),
// UserPrompts::SaveChangesSaveAsFile (Save as File...) or Rejected (No!).
class CSaveChangesDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSaveChangesDlg(QWidget* parent = nullptr);
};
