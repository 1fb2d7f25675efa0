// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/base/TimeFormat.h"

#include <ctime>

QString FormatLocalTime(qint64 time, const char* pattern)
{
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm local {};
    if (localtime_r(&seconds, &local) == nullptr)
        return QString();
    char text[128];
    const size_t length = std::strftime(text, sizeof text, pattern, &local);
    return QString::fromLocal8Bit(text, int(length));
}

QString TimestampName()
{
    return FormatLocalTime(std::time(nullptr), "%Y-%m-%d-%H-%M-%S");
}
