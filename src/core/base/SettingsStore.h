// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QString>

class QSettings;

// The per-user settings: one group per section, integers (colours as
// 0x00BBGGRR) stored as integers, real numbers as text. Every read takes the
// caller's default, which is also what a missing or unreadable value gives;
// every write reaches the store at once.
class SettingsStore {
public:
    // The user's own store (organisation "Tallmere", application "Scopique").
    SettingsStore();
    // A store in an INI file; tests keep one per test.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    int readInt(const QString& section, const QString& entry, int defaultValue) const;
    void writeInt(const QString& section, const QString& entry, int value);
    QString readString(const QString& section, const QString& entry, const QString& defaultValue) const;
    void writeString(const QString& section, const QString& entry, const QString& value);

    // Real numbers travel as text that atof reads; written with full precision.
    double readReal(const QString& section, const QString& entry, double defaultValue) const;
    void writeReal(const QString& section, const QString& entry, double value);

    static QString formatReal(double value);
    // Locale-independent atof-style parse of a stored text; nullopt-like
    // failure (text, nan, inf, nothing numeric) reports ok = false.
    static double parseReal(const QString& text, bool* ok);

private:
    std::unique_ptr<QSettings> settings;
};
