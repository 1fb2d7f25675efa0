// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/measure/CMeasurementsBar.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/measure/Measurements.h"
#include "ui/measure/MeasurementSummaryModel.h"
#include "ui/measure/MeasurementTableModel.h"

namespace {

// What each column must have room for besides its name: #, Image, Tool,
// the four values, Unit, Magnification and Time.
const char* const columnSamples[] = { "00000", "slide 0000.jpg", "Horizontal", "00000.00", "000.00", "000000.00",
    "00000.00", "mil", "0000", "0000-00-00T00:00:00" };

} // namespace

CMeasurementsBar::CMeasurementsBar(Measurements& measurements, QWidget* parent)
    : CSizingControlBar(QStringLiteral("Measurements"), QSize(600, 260), parent)
    , measurements(measurements)
    , rowsModel(new MeasurementTableModel(measurements.table(), this))
    , summaryModel(new MeasurementSummaryModel(measurements.table(), this))
{
    setObjectName(QStringLiteral("measurementsBar"));
    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);

    rows = new QTableView(contents);
    rows->setModel(rowsModel);
    rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->verticalHeader()->hide();
    rows->setWordWrap(false);
    rows->installEventFilter(this);

    summary = new QTableView(contents);
    summary->setModel(summaryModel);
    summary->horizontalHeader()->hide();
    summary->verticalHeader()->hide();
    summary->setSelectionMode(QAbstractItemView::NoSelection);
    summary->setFocusPolicy(Qt::NoFocus);
    summary->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Rows as close as a spreadsheet's, so that the bar's usual height
    // shows a few rows above the statistics.
    const int rowHeight = rows->fontMetrics().height() + 6;
    for (QTableView* view : { rows, summary }) {
        view->verticalHeader()->setMinimumSectionSize(rowHeight);
        view->verticalHeader()->setDefaultSectionSize(rowHeight);
    }
    summary->setFixedHeight(rowHeight * MeasurementTable::StatisticCount + 2 * summary->frameWidth());
    // Each statistic stands under its column, however the rows are scrolled
    // or their columns sized.
    const QFontMetrics cellFont = rows->fontMetrics();
    const QFontMetrics headerFont = rows->horizontalHeader()->fontMetrics();
    for (int column = 0; column < MeasurementTable::ColumnCount; ++column) {
        const int width = qMax(cellFont.horizontalAdvance(QString::fromLatin1(columnSamples[column])),
            headerFont.horizontalAdvance(MeasurementTable::columnNames()[column]));
        rows->setColumnWidth(column, width + 16);
        summary->setColumnWidth(column, rows->columnWidth(column));
    }
    connect(rows->horizontalHeader(), &QHeaderView::sectionResized, summary,
        [this](int column, int, int width) { summary->setColumnWidth(column, width); });
    connect(
        rows->horizontalScrollBar(), &QScrollBar::valueChanged, summary->horizontalScrollBar(), &QScrollBar::setValue);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 4, 0, 0);
    deleteRows = new QPushButton(QStringLiteral("Delete"), contents);
    clearRows = new QPushButton(QStringLiteral("Clear"), contents);
    copyRows = new QPushButton(QStringLiteral("Copy"), contents);
    for (QPushButton* button : { deleteRows, clearRows, copyRows }) {
        button->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    layout->addWidget(rows, 1);
    layout->addWidget(summary);
    layout->addLayout(buttons);
    setWidget(contents);

    connect(deleteRows, &QPushButton::clicked, this, &CMeasurementsBar::deleteSelected);
    connect(clearRows, &QPushButton::clicked, this, [this] { this->measurements.clearAsked(); });
    connect(copyRows, &QPushButton::clicked, this, &CMeasurementsBar::copySelected);
    connect(rows->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CMeasurementsBar::updateButtons);
    connect(&measurements, &Measurements::rowAppended, this, &CMeasurementsBar::appended);
    connect(&measurements, &Measurements::rowsReset, this, &CMeasurementsBar::reset);
    updateButtons();
}

void CMeasurementsBar::appended()
{
    rowsModel->rowsAppended();
    summaryModel->refresh();
    rows->scrollToBottom();
    updateButtons();
    if (!shownForRecording) {
        shownForRecording = true;
        show();
    }
}

void CMeasurementsBar::reset()
{
    rowsModel->tableReset();
    summaryModel->refresh();
    rows->scrollToBottom();
    updateButtons();
}

void CMeasurementsBar::updateButtons()
{
    const bool any = !measurements.table().isEmpty();
    deleteRows->setEnabled(rows->selectionModel()->hasSelection());
    clearRows->setEnabled(any);
    copyRows->setEnabled(any);
}

QList<int> CMeasurementsBar::selectedRows() const
{
    QList<int> indexes;
    const QModelIndexList selected = rows->selectionModel()->selectedRows();
    for (const QModelIndex& index : selected)
        indexes << index.row();
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

void CMeasurementsBar::deleteSelected()
{
    measurements.removeRows(selectedRows());
}

void CMeasurementsBar::copySelected()
{
    QGuiApplication::clipboard()->setText(measurements.table().toTabText(selectedRows()));
}

bool CMeasurementsBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rows && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        // In the table, Delete and Copy act on its rows (Ctrl+C elsewhere
        // is the Circle tool).
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool remove = key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier;
        const bool copy = key->matches(QKeySequence::Copy);
        if (remove || copy) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                if (remove)
                    deleteSelected();
                else
                    copySelected();
            }
            return true;
        }
    }
    return CSizingControlBar::eventFilter(watched, event);
}
