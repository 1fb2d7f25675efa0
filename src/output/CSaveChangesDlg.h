// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

// "Save Changes" at close, after something was burnt into the image. Ends
// with 1058 (Add to Favorites!), 1057 (Save as File...) or Rejected (No!).
class CSaveChangesDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int AddToFavorites = 1058;
    static constexpr int SaveAsFile = 1057;

    explicit CSaveChangesDlg(QWidget* parent = nullptr);
};
