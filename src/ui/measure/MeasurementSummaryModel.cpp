// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/measure/MeasurementSummaryModel.h"

#include "core/measure/MeasurementTable.h"
#include "ui/measure/MeasurementTableModel.h"

MeasurementSummaryModel::MeasurementSummaryModel(const MeasurementTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , table(table)
{
}

int MeasurementSummaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MeasurementTable::StatisticCount;
}

int MeasurementSummaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MeasurementTable::ColumnCount;
}

QVariant MeasurementSummaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const auto statistic = MeasurementTable::Statistic(index.row());
    const int column = index.column();
    const int value = MeasurementTable::valueOf(column);
    if (column == MeasurementTable::Number) {
        if (role == Qt::DisplayRole)
            return MeasurementTable::statisticName(statistic);
        return QVariant();
    }
    if (value < 0)
        return QVariant();
    const std::optional<double> figure = table.statistic(statistic, MeasurementRecord::Value(value));
    switch (role) {
    case Qt::DisplayRole:
        return MeasurementTableModel::shortText(figure);
    case Qt::ToolTipRole:
        return figure ? QVariant(MeasurementTable::numberText(*figure)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(MeasurementTableModel::alignment(column));
    default:
        return QVariant();
    }
}

void MeasurementSummaryModel::refresh()
{
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
