// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>

#include "core/base/TimeFormat.h"
#include "core/measure/Measurements.h"
#include "ui/app/DialogPrompts.h"
#include "ui/measure/CMeasurementsBar.h"

// ---------------------------------------------------------------------------
// The results table at 100 000 rows: one recording as the command runs it
// (the row into the table, the shown bar's models and the journal), beside
// the append to the table alone; the repaint that follows is not counted.
// And a start that opens a journal of that many rows and shows the bar,
// beside reading the file's bytes.
// ---------------------------------------------------------------------------
namespace {

constexpr int RowCount = 100000;

MeasurementRecord sample(int i)
{
    MeasurementRecord record;
    record.image = QStringLiteral("slide %1.jpg").arg(i / 20, 4, 10, QLatin1Char('0'));
    record.tool = QStringLiteral("Line");
    record.values[MeasurementRecord::Length] = 12.3456789 + i * 0.001;
    record.unit = QStringLiteral("um");
    record.magnification = 400;
    record.time = FormatLocalTime(1714557600 + i, "%Y-%m-%dT%H:%M:%S");
    return record;
}

QString writeJournal(const QString& dir)
{
    MeasurementTable table;
    for (int i = 0; i < RowCount; ++i)
        table.append(sample(i));
    const QString path = QDir(dir).filePath(QStringLiteral("Measurements.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(table.toCsv()) <= 0)
        return QString();
    return path;
}

void recordScopique(benchmark::State& state, const QString& journal)
{
    // A copy, since recording makes the journal longer.
    const QString path = journal + QStringLiteral(".record.csv");
    QFile::remove(path);
    QFile::copy(journal, path);
    DialogPrompts prompts;
    Measurements measurements(path, prompts);
    measurements.load();
    CMeasurementsBar bar(measurements);
    bar.show();
    QApplication::processEvents();
    const MeasurementRecord row = sample(RowCount);
    for (auto _ : state) {
        measurements.record(row);
        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (measurements.table().size() <= RowCount)
        state.SkipWithError("nothing was recorded");
}

void recordTable(benchmark::State& state)
{
    MeasurementTable table;
    for (int i = 0; i < RowCount; ++i)
        table.append(sample(i));
    const MeasurementRecord row = sample(RowCount);
    for (auto _ : state) {
        table.append(row);
        benchmark::DoNotOptimize(table.statistic(MeasurementTable::Mean, MeasurementRecord::Length));
    }
}

void openScopique(benchmark::State& state, const QString& journal)
{
    DialogPrompts prompts;
    for (auto _ : state) {
        Measurements measurements(journal, prompts);
        measurements.load();
        CMeasurementsBar bar(measurements);
        bar.show();
        QApplication::processEvents();
        if (bar.rowsView()->model()->rowCount() != RowCount) {
            state.SkipWithError("not every row was read");
            return;
        }
    }
}

void openRead(benchmark::State& state, const QString& journal)
{
    for (auto _ : state) {
        QFile file(journal);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().size());
    }
}

} // namespace

void measurementsBench(const QString& dir, std::map<std::string, std::string>& notes)
{
    const QString journal = writeJournal(dir);
    if (journal.isEmpty())
        return;
    const std::string record = "measurements/record_into_100k_rows";
    const std::string open = "measurements/open_100k_row_journal";
    notes[record] = "bar shown, journal written";
    notes[open] = std::to_string(QFile(journal).size() / 1000000) + " MB";
    benchmark::RegisterBenchmark((record + "/Scopique").c_str(), recordScopique, journal)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((record + "/table_only").c_str(), recordTable)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((open + "/Scopique").c_str(), openScopique, journal)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark((open + "/read_bytes").c_str(), openRead, journal)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}
