// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>

#include "ui/widgets/CSizingControlBar.h"

class Measurements;
class MeasurementSummaryModel;
class MeasurementTableModel;
class QPushButton;
class QTableView;

// The "Measurements" docking bar: the recorded rows, newest at the bottom,
// the statistics under them, and the buttons Delete, Clear and Copy. It
// shows the results and passes the user's edits on; it keeps nothing.
class CMeasurementsBar : public CSizingControlBar {
    Q_OBJECT

public:
    explicit CMeasurementsBar(Measurements& measurements, QWidget* parent = nullptr);

    QTableView* rowsView() const { return rows; }
    QTableView* summaryView() const { return summary; }
    QPushButton* deleteButton() const { return deleteRows; }
    QPushButton* clearButton() const { return clearRows; }
    QPushButton* copyButton() const { return copyRows; }

    // The selected rows' indexes, in order.
    QList<int> selectedRows() const;
    // Removes the selected rows; the others keep their numbers.
    void deleteSelected();
    // Puts the selected rows (all when none is) with the header on the
    // clipboard, tab-separated.
    void copySelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void appended();
    void reset();
    void updateButtons();

    Measurements& measurements;
    MeasurementTableModel* rowsModel;
    MeasurementSummaryModel* summaryModel;
    QTableView* rows;
    QTableView* summary;
    QPushButton* deleteRows;
    QPushButton* clearRows;
    QPushButton* copyRows;
    // The first recording of a run shows the bar.
    bool shownForRecording = false;
};
