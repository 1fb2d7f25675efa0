// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>
#include <QtGlobal>

#include "core/base/AppMessage.h"

// Receiver of application messages: the main frame in the program, a recorder
// in tests. Messages are synchronous calls. A text argument travels as a
// pointer to a QString that the sender owns for the duration of the call.
class AppMessageSink {
public:
    virtual ~AppMessageSink() = default;
    virtual qintptr send(AppMessage message, qintptr wParam, qintptr lParam) = 0;

    static qintptr textArg(const QString& text) { return reinterpret_cast<qintptr>(&text); }
    static QString textOf(qintptr arg);
};
