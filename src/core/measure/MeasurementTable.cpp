// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/measure/MeasurementTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Field by field through CSV bytes, counting physical lines.
class CsvReader {
public:
    enum Result { Record, Blank, End, Broken };

    explicit CsvReader(const QByteArray& bytes)
        : p(bytes.constData())
        , end(bytes.constData() + bytes.size())
    {
        // A byte-order mark, as spreadsheets write one.
        if (bytes.startsWith("\xEF\xBB\xBF"))
            p += 3;
    }

    // Reads the next record into fields[0 .. count - 1].
    Result next()
    {
        count = 0;
        if (p == end)
            return End;
        startLine = line;
        if (*p == '\r' || *p == '\n') {
            endLine();
            return Blank;
        }
        for (;;) {
            QByteArray& field = nextField();
            if (p < end && *p == '"') {
                if (!readQuoted(field))
                    return Broken;
            } else {
                const char* start = p;
                while (p < end && *p != ',' && *p != '\r' && *p != '\n' && *p != '"')
                    ++p;
                if (p < end && *p == '"') {
                    problem = QStringLiteral("a quote stands inside an unquoted field");
                    return Broken;
                }
                field.append(start, int(p - start));
            }
            if (p == end)
                return Record;
            if (*p == ',') {
                ++p;
                continue;
            }
            endLine();
            return Record;
        }
    }

    const QByteArray& field(int i) const { return fields[i]; }

    int count = 0;
    int startLine = 1;
    QString problem;

private:
    QByteArray& nextField()
    {
        if (count == fields.size())
            fields.append(QByteArray());
        QByteArray& field = fields[count++];
        // Keeps the field's memory for the next record.
        field.resize(0);
        return field;
    }

    bool readQuoted(QByteArray& field)
    {
        ++p;
        for (;;) {
            if (p == end) {
                problem = QStringLiteral("a quoted field is not closed");
                return false;
            }
            const char c = *p++;
            if (c == '"') {
                if (p < end && *p == '"') {
                    field.append('"');
                    ++p;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++line;
            field.append(c);
        }
        if (p < end && *p != ',' && *p != '\r' && *p != '\n') {
            problem = QStringLiteral("a character follows a closing quote");
            return false;
        }
        return true;
    }

    void endLine()
    {
        if (*p == '\r')
            ++p;
        if (p < end && *p == '\n')
            ++p;
        ++line;
    }

    const char* p;
    const char* end;
    int line = 1;
    QVector<QByteArray> fields;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

// A number cell: empty, or a whole double with nothing else but blanks.
bool parseValue(const QByteArray& text, std::optional<double>& value)
{
    const char* first = text.constData();
    const char* last = first + text.size();
    while (first < last && isSpace(*first))
        ++first;
    while (last > first && isSpace(last[-1]))
        --last;
    if (first == last) {
        value.reset();
        return true;
    }
    // from_chars takes no plus sign.
    if (*first == '+' && last - first > 1)
        ++first;
    double parsed = 0.0;
    const auto result = std::from_chars(first, last, parsed);
    if (result.ec != std::errc() || result.ptr != last)
        return false;
    value = parsed;
    return true;
}

// Digits only, at most `limit`.
bool parseWhole(const QByteArray& text, quint64 limit, quint64& value)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + quint64(c - '0');
    }
    return value <= limit;
}

// "yyyy-MM-ddTHH:mm:ss" (a blank for the T, as spreadsheets write it, too).
bool isTime(const QByteArray& text)
{
    static const char pattern[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != 19)
        return false;
    for (int i = 0; i < 19; ++i) {
        const char c = text[i];
        const char want = pattern[i];
        const bool ok = want == 'd' ? (c >= '0' && c <= '9') : want == 'T' ? (c == 'T' || c == ' ') : c == want;
        if (!ok)
            return false;
    }
    return true;
}

QString quoted(const QByteArray& text)
{
    return QStringLiteral("\u201C%1\u201D").arg(QString::fromUtf8(text));
}

// Repeated texts (the picture, the tool, the unit) share one string.
const QString& shared(const QByteArray& bytes, QByteArray& lastBytes, QString& lastText)
{
    if (bytes != lastBytes || lastText.isNull()) {
        lastBytes = bytes;
        lastText = QString::fromUtf8(bytes);
    }
    return lastText;
}

QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n')) {
        bytes.replace("\"", "\"\"");
        bytes.prepend('"');
        bytes.append('"');
    }
    return bytes;
}

} // namespace

const QStringList& MeasurementTable::columnNames()
{
    static const QStringList names { QStringLiteral("#"), QStringLiteral("Image"), QStringLiteral("Tool"),
        QStringLiteral("Length"), QStringLiteral("Angle"), QStringLiteral("Area"), QStringLiteral("Perimeter"),
        QStringLiteral("Unit"), QStringLiteral("Magnification"), QStringLiteral("Time") };
    return names;
}

int MeasurementTable::valueOf(int column)
{
    return column >= Length && column <= Perimeter ? column - Length : -1;
}

QString MeasurementTable::statisticName(Statistic statistic)
{
    static const char* const names[] = { "Mean", "SD", "Min", "Max" };
    return QString::fromLatin1(names[statistic]);
}

void MeasurementTable::Summary::add(double value)
{
    ++count;
    if (count == 1) {
        min = max = value;
    } else {
        min = std::min(min, value);
        max = std::max(max, value);
    }
    const double delta = value - mean;
    mean += delta / count;
    m2 += delta * (value - mean);
}

void MeasurementTable::include(const MeasurementRecord& record)
{
    for (int v = 0; v < MeasurementRecord::ValueCount; ++v) {
        if (record.values[v])
            summaries[v].add(*record.values[v]);
    }
    highestNumber = std::max(highestNumber, record.number);
}

void MeasurementTable::recount()
{
    summaries = {};
    highestNumber = 0;
    for (const MeasurementRecord& record : std::as_const(records))
        include(record);
}

const MeasurementRecord& MeasurementTable::append(MeasurementRecord record)
{
    record.number = nextNumber();
    records.append(std::move(record));
    include(records.constLast());
    return records.constLast();
}

void MeasurementTable::removeRows(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    QVector<MeasurementRecord> kept;
    kept.reserve(records.size());
    auto next = indexes.cbegin();
    for (int i = 0; i < records.size(); ++i) {
        while (next != indexes.cend() && *next < i)
            ++next;
        if (next == indexes.cend() || *next != i)
            kept.append(std::move(records[i]));
    }
    records = std::move(kept);
    recount();
}

void MeasurementTable::clear()
{
    records.clear();
    recount();
}

void MeasurementTable::setRows(QVector<MeasurementRecord> rows)
{
    records = std::move(rows);
    recount();
}

std::optional<double> MeasurementTable::statistic(Statistic statistic, MeasurementRecord::Value value) const
{
    const Summary& summary = summaries[value];
    if (summary.count < (statistic == SD ? 2 : 1))
        return std::nullopt;
    switch (statistic) {
    case Mean:
        return summary.mean;
    case SD:
        return std::sqrt(summary.m2 / (summary.count - 1));
    case Min:
        return summary.min;
    default:
        return summary.max;
    }
}

QString MeasurementTable::numberText(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return QString::fromLatin1(text, int(result.ptr - text));
}

QString MeasurementTable::cellText(const MeasurementRecord& record, int column)
{
    switch (column) {
    case Number:
        return QString::number(record.number);
    case Image:
        return record.image;
    case Tool:
        return record.tool;
    case Unit:
        return record.unit;
    case Magnification:
        return QString::number(record.magnification);
    case Time:
        return record.time;
    default: {
        const std::optional<double>& value = record.values[valueOf(column)];
        return value ? numberText(*value) : QString();
    }
    }
}

QByteArray MeasurementTable::csvHeader()
{
    return columnNames().join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QByteArray MeasurementTable::csvLine(const MeasurementRecord& record)
{
    QByteArray line;
    for (int column = 0; column < ColumnCount; ++column) {
        if (column > 0)
            line += ',';
        line += csvField(cellText(record, column));
    }
    line += "\r\n";
    return line;
}

QByteArray MeasurementTable::toCsv() const
{
    QByteArray bytes = csvHeader();
    for (const MeasurementRecord& record : records)
        bytes += csvLine(record);
    return bytes;
}

QString MeasurementTable::toTabText(const QList<int>& indexes) const
{
    // A tab or a line break inside a cell would split it in a spreadsheet.
    const auto cell = [](QString text) {
        for (QChar& c : text) {
            if (c == u'\t' || c == u'\r' || c == u'\n')
                c = u' ';
        }
        return text;
    };
    QString text = columnNames().join(u'\t') + u'\n';
    const auto addRow = [&](const MeasurementRecord& record) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (column > 0)
                text += u'\t';
            text += cell(cellText(record, column));
        }
        text += u'\n';
    };
    if (indexes.isEmpty()) {
        for (const MeasurementRecord& record : records)
            addRow(record);
    } else {
        QList<int> sorted = indexes;
        std::sort(sorted.begin(), sorted.end());
        for (int index : sorted)
            addRow(records[index]);
    }
    return text;
}

MeasurementTable::ParseResult MeasurementTable::parseCsv(const QByteArray& bytes)
{
    ParseResult result;
    CsvReader reader(bytes);
    const auto refuse = [&](const QString& problem) {
        result.badLine = reader.startLine;
        result.problem = problem;
    };
    bool header = true;
    QByteArray lastImage, lastTool, lastUnit;
    QString image, tool, unit;
    for (;;) {
        const CsvReader::Result read = reader.next();
        if (read == CsvReader::End)
            break;
        if (read == CsvReader::Blank)
            continue;
        if (read == CsvReader::Broken) {
            refuse(reader.problem);
            break;
        }
        if (header) {
            header = false;
            QStringList names;
            for (int i = 0; i < reader.count; ++i)
                names << QString::fromUtf8(reader.field(i));
            if (names != columnNames()) {
                refuse(QStringLiteral("the header is not \u201C%1\u201D").arg(columnNames().join(u',')));
                break;
            }
            continue;
        }
        if (reader.count != ColumnCount) {
            refuse(QStringLiteral("it has %1 fields instead of %2").arg(reader.count).arg(int(ColumnCount)));
            break;
        }
        MeasurementRecord record;
        quint64 whole = 0;
        if (!parseWhole(reader.field(Number), quint64(std::numeric_limits<int>::max()), whole) || whole == 0) {
            refuse(QStringLiteral("the # %1 is not a whole number above 0").arg(quoted(reader.field(Number))));
            break;
        }
        record.number = int(whole);
        bool valuesOk = true;
        for (int v = 0; v < MeasurementRecord::ValueCount && valuesOk; ++v) {
            const QByteArray& text = reader.field(columnOf(MeasurementRecord::Value(v)));
            if (!parseValue(text, record.values[v])) {
                refuse(QStringLiteral("the %1 %2 is not a number")
                           .arg(columnNames()[columnOf(MeasurementRecord::Value(v))], quoted(text)));
                valuesOk = false;
            }
        }
        if (!valuesOk)
            break;
        if (!parseWhole(reader.field(Magnification), std::numeric_limits<quint32>::max(), whole)) {
            refuse(
                QStringLiteral("the Magnification %1 is not a whole number").arg(quoted(reader.field(Magnification))));
            break;
        }
        record.magnification = unsigned(whole);
        const QByteArray& time = reader.field(Time);
        if (!isTime(time)) {
            refuse(QStringLiteral("the Time %1 is not a date and time (yyyy-MM-ddTHH:mm:ss)").arg(quoted(time)));
            break;
        }
        record.time = QString::fromLatin1(time);
        record.time[10] = u'T';
        record.image = shared(reader.field(Image), lastImage, image);
        record.tool = shared(reader.field(Tool), lastTool, tool);
        record.unit = shared(reader.field(Unit), lastUnit, unit);
        result.rows.append(std::move(record));
    }
    return result;
}
