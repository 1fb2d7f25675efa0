// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>
#include <QtGlobal>

// `time` (seconds since 1970) as local time, formatted with a strftime
// pattern into at most 127 characters; empty when the time cannot be
// converted or the pattern yields nothing.
QString FormatLocalTime(qint64 time, const char* pattern);

// The current local time as "%Y-%m-%d-%H-%M-%S", the default name of saved
// pictures and favourites.
QString TimestampName();
