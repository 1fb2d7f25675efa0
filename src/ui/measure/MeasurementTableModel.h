// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <optional>

#include <QAbstractTableModel>

class MeasurementTable;

// The rows of the results table for a view: values with two decimals, as
// the labels show them, and the exact value in the tooltip.
class MeasurementTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit MeasurementTableModel(const MeasurementTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The table gained rows at its end.
    void rowsAppended();
    // The table changed in any other way.
    void tableReset();

    // A value as the labels show it, with two decimals; empty for none.
    static QString shortText(const std::optional<double>& value);
    static Qt::Alignment alignment(int column);

private:
    const MeasurementTable& table;
    // The rows the views know of.
    int shownRows = 0;
};
