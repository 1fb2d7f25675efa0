// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/measure/MeasurementTableModel.h"

#include "core/measure/MeasurementTable.h"

MeasurementTableModel::MeasurementTableModel(const MeasurementTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , table(table)
    , shownRows(table.size())
{
}

int MeasurementTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows;
}

int MeasurementTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MeasurementTable::ColumnCount;
}

QString MeasurementTableModel::shortText(const std::optional<double>& value)
{
    return value ? QString::asprintf("%.2f", *value) : QString();
}

Qt::Alignment MeasurementTableModel::alignment(int column)
{
    const bool number = column == MeasurementTable::Number || column == MeasurementTable::Magnification
        || MeasurementTable::valueOf(column) >= 0;
    return Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft);
}

QVariant MeasurementTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows)
        return QVariant();
    const MeasurementRecord& record = table.row(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const int value = MeasurementTable::valueOf(column);
        return value < 0 ? MeasurementTable::cellText(record, column) : shortText(record.values[value]);
    }
    case Qt::ToolTipRole:
        return MeasurementTable::valueOf(column) >= 0 ? QVariant(MeasurementTable::cellText(record, column))
                                                      : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(column));
    default:
        return QVariant();
    }
}

QVariant MeasurementTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= MeasurementTable::ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole)
        return MeasurementTable::columnNames()[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(section));
    return QVariant();
}

void MeasurementTableModel::rowsAppended()
{
    if (table.size() <= shownRows) {
        tableReset();
        return;
    }
    beginInsertRows(QModelIndex(), shownRows, table.size() - 1);
    shownRows = table.size();
    endInsertRows();
}

void MeasurementTableModel::tableReset()
{
    beginResetModel();
    shownRows = table.size();
    endResetModel();
}
