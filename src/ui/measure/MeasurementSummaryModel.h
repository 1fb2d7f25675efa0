// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QAbstractTableModel>

class MeasurementTable;

// The four rows under the results, "Mean", "SD", "Min" and "Max", named in
// the "#" column and filled in the measured columns, laid out like the
// results so that each statistic stands under its column.
class MeasurementSummaryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit MeasurementSummaryModel(const MeasurementTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The table changed: every statistic may have.
    void refresh();

private:
    const MeasurementTable& table;
};
