// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/base/SettingsStore.h"

#include <cmath>
#include <cstdlib>

#include <QSettings>
#include <QStringList>

namespace {

QString key(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}

// A hand-edited value with a comma comes back from QSettings as a list.
QString storedText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

SettingsStore::SettingsStore()
    : settings(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tallmere"), QStringLiteral("Scopique")))
{
}

SettingsStore::SettingsStore(const QString& iniPath)
    : settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

int SettingsStore::readInt(const QString& section, const QString& entry, int defaultValue) const
{
    const QVariant value = settings->value(key(section, entry));
    if (!value.isValid())
        return defaultValue;
    // Text, fractions and numbers beyond 32 bits are unreadable, not zero.
    bool ok = false;
    const QString text = storedText(value).trimmed();
    const qlonglong number = text.toLongLong(&ok, 0);
    if (!ok || number < -2147483648LL || number > 4294967295LL)
        return defaultValue;
    // Colours and magnifications above 2^31 come back as their 32-bit pattern.
    return static_cast<int>(static_cast<quint32>(number));
}

void SettingsStore::writeInt(const QString& section, const QString& entry, int value)
{
    settings->setValue(key(section, entry), value);
    settings->sync();
}

QString SettingsStore::readString(const QString& section, const QString& entry, const QString& defaultValue) const
{
    const QVariant value = settings->value(key(section, entry));
    return value.isValid() ? storedText(value) : defaultValue;
}

void SettingsStore::writeString(const QString& section, const QString& entry, const QString& value)
{
    settings->setValue(key(section, entry), value);
    settings->sync();
}

double SettingsStore::readReal(const QString& section, const QString& entry, double defaultValue) const
{
    const QVariant value = settings->value(key(section, entry));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const double number = parseReal(storedText(value), &ok);
    return ok ? number : defaultValue;
}

void SettingsStore::writeReal(const QString& section, const QString& entry, double value)
{
    writeString(section, entry, formatReal(value));
}

QString SettingsStore::formatReal(double value)
{
    // Shortest text that reads back to the same double, never a decimal comma.
    return QString::number(value, 'g', 17);
}

double SettingsStore::parseReal(const QString& text, bool* ok)
{
    // atof reads the leading number and ignores what follows ("1.5mm" is 1.5),
    // but unlike atof, text without a number, nan and inf are failures.
    const QByteArray bytes = text.trimmed().toLatin1();
    int end = 0;
    const auto isDigit = [&](int i) { return i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; };
    if (end < bytes.size() && (bytes[end] == '+' || bytes[end] == '-'))
        ++end;
    int digits = 0;
    while (isDigit(end)) {
        ++end;
        ++digits;
    }
    if (end < bytes.size() && bytes[end] == '.') {
        ++end;
        while (isDigit(end)) {
            ++end;
            ++digits;
        }
    }
    if (digits > 0 && end < bytes.size() && (bytes[end] == 'e' || bytes[end] == 'E')) {
        int exponent = end + 1;
        if (exponent < bytes.size() && (bytes[exponent] == '+' || bytes[exponent] == '-'))
            ++exponent;
        if (isDigit(exponent)) {
            end = exponent;
            while (isDigit(end))
                ++end;
        }
    }
    bool parsed = false;
    const double value = digits > 0 ? bytes.left(end).toDouble(&parsed) : 0.0;
    *ok = parsed && std::isfinite(value);
    return *ok ? value : 0.0;
}
