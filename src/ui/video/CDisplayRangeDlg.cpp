// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CDisplayRangeDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/document/DisplayRangeEditor.h"
#include "core/video/DisplayRange.h"

// The samples' histogram, one column per bin, the limits as two lines and
// the mapping between them as a ramp from black to white.
class RangeHistogram : public QWidget {
public:
    explicit RangeHistogram(const DisplayRangeEditor& editor, QWidget* parent = nullptr)
        : QWidget(parent)
        , editor(editor)
    {
        setFixedSize(2 * DisplayRangeEditor::binCount + 2, 130);
    }

    void setLimits(int minimum, int maximum)
    {
        shown = { minimum, maximum };
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QRect plot = rect().adjusted(1, 1, -1, -1);
        const auto& bins = editor.bins();
        const quint64 tallest = *std::max_element(bins.begin(), bins.end());
        painter.setPen(Qt::darkGray);
        for (int bin = 0; tallest > 0 && bin < DisplayRangeEditor::binCount; ++bin) {
            const int height = int(double(bins[size_t(bin)]) / double(tallest) * plot.height() + 0.5);
            if (height <= 0)
                continue;
            const int x = plot.left() + 2 * bin;
            painter.fillRect(x, plot.bottom() + 1 - height, 2, height, Qt::darkGray);
        }
        // Where a sample value lies along the bins, limited to the plot.
        const auto xOf = [&](int sample) {
            const int lowest = editor.lowestSample(), highest = editor.highestSample();
            const double span = double(highest) - lowest + 1;
            const double at = (double(sample) - lowest) / span * 2 * DisplayRangeEditor::binCount;
            return plot.left() + int(std::clamp(at, 0.0, double(plot.width() - 1)));
        };
        const int left = xOf(shown.minimum), right = xOf(shown.maximum);
        painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        painter.drawLine(left, plot.bottom(), std::max(left, right), plot.top());
        painter.setPen(QPen(QColor(200, 0, 0), 1));
        painter.drawLine(left, plot.top(), left, plot.bottom());
        painter.drawLine(right, plot.top(), right, plot.bottom());
    }

private:
    const DisplayRangeEditor& editor;
    DisplayRange shown;
};

namespace {

QSpinBox* limitField(const QString& name)
{
    auto* field = new QSpinBox;
    field->setObjectName(name);
    field->setRange(DisplayRange::lowest, DisplayRange::highest);
    return field;
}

} // namespace

CDisplayRangeDlg::CDisplayRangeDlg(DisplayRangeEditor& editor, QWidget* parent)
    : QDialog(parent)
    , editor(editor)
    , histogram(new RangeHistogram(editor))
    , minimum(limitField(QStringLiteral("minimum")))
    , maximum(limitField(QStringLiteral("maximum")))
{
    setWindowTitle(QStringLiteral("Display Range"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* automatic = buttons->addButton(QStringLiteral("Auto"), QDialogButtonBox::ActionRole);
    QPushButton* full = buttons->addButton(QStringLiteral("Full"), QDialogButtonBox::ActionRole);
    automatic->setObjectName(QStringLiteral("auto"));
    full->setObjectName(QStringLiteral("full"));
    // Enter in a field means OK, not the first button of the row.
    automatic->setAutoDefault(false);
    full->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDisplayRangeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(automatic, &QPushButton::clicked, this, [this] {
        const DisplayRange range = this->editor.autoRange();
        setFields(range.minimum, range.maximum);
    });
    connect(full, &QPushButton::clicked, this, [this] {
        const DisplayRange range = DisplayRangeEditor::fullRange();
        setFields(range.minimum, range.maximum);
    });

    auto* samples
        = new QLabel(QStringLiteral("Samples %1 to %2").arg(editor.lowestSample()).arg(editor.highestSample()));
    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(QStringLiteral("Minimum"), minimum);
    fields->addRow(QStringLiteral("Maximum"), maximum);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(histogram);
    layout->addWidget(samples);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const DisplayRange opened = editor.opened();
    setFields(opened.minimum, opened.maximum);
    connect(minimum, &QSpinBox::valueChanged, this, &CDisplayRangeDlg::fieldsChanged);
    connect(maximum, &QSpinBox::valueChanged, this, &CDisplayRangeDlg::fieldsChanged);
    minimum->setFocus();
}

void CDisplayRangeDlg::setFields(int low, int high)
{
    // Both at once: the picture follows the pair, not a half-changed one.
    const QSignalBlocker blockMinimum(minimum);
    const QSignalBlocker blockMaximum(maximum);
    minimum->setValue(low);
    maximum->setValue(high);
    fieldsChanged();
}

void CDisplayRangeDlg::fieldsChanged()
{
    histogram->setLimits(minimum->value(), maximum->value());
    editor.show(minimum->value(), maximum->value());
}

void CDisplayRangeDlg::accept()
{
    // A value being typed counts as entered.
    minimum->interpretText();
    maximum->interpretText();
    if (editor.accept(minimum->value(), maximum->value()))
        QDialog::accept();
}
