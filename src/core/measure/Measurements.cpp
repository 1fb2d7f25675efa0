// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/measure/Measurements.h"

#include <QDir>

#include "core/base/CommandIds.h"
#include "core/base/UserPrompts.h"
#include "core/output/SafeFileWriter.h"

Measurements::Measurements(const QString& journalPath, UserPrompts& prompts, QObject* parent)
    : QObject(parent)
    , prompts(prompts)
    , file(journalPath)
{
}

QString Measurements::load()
{
    MeasurementJournal::Contents contents = file.read();
    rows.setRows(std::move(contents.rows));
    emit rowsReset();
    return contents.message;
}

void Measurements::record(const MeasurementRecord& record)
{
    const MeasurementRecord& added = rows.append(record);
    emit rowAppended();
    QString error;
    const bool kept = file.needsRewrite() ? file.rewrite(rows, error) : file.append(added, error);
    if (!kept)
        prompts.showMessage(error);
}

void Measurements::removeRows(const QList<int>& indexes)
{
    if (indexes.isEmpty())
        return;
    rows.removeRows(indexes);
    emit rowsReset();
    rewriteJournal();
}

bool Measurements::clearAsked()
{
    if (!prompts.askYesNo(QStringLiteral("Remove every measurement from the table?")))
        return false;
    rows.clear();
    emit rowsReset();
    rewriteJournal();
    return true;
}

void Measurements::rewriteJournal()
{
    QString error;
    if (!file.rewrite(rows, error))
        prompts.showMessage(error);
}

bool Measurements::exportTo(const QString& path)
{
    QString reason;
    if (SafeFileWriter::write(path, rows.toCsv(), reason))
        return true;
    prompts.showMessage(
        QStringLiteral("Scopique cannot save \u201C%1\u201D: %2").arg(QDir::toNativeSeparators(path), reason));
    return false;
}

bool Measurements::onCommand(int id)
{
    if (id != ID_FILE_EXPORT_MEASUREMENTS)
        return false;
    const QString path = prompts.saveMeasurementsFileName(QStringLiteral("Measurements.csv"));
    if (!path.isEmpty())
        exportTo(path);
    return true;
}

bool Measurements::updateCommand(int id, CommandState& state) const
{
    if (id != ID_FILE_EXPORT_MEASUREMENTS)
        return false;
    state.enabled = !rows.isEmpty();
    return true;
}
