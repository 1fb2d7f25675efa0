// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>
#include <QStringList>
#include <QtTest>

#include "core/base/AppMessageSink.h"

// The main window as the components see it: records every message in order.
class MessageLog : public AppMessageSink {
public:
    struct Message {
        unsigned message;
        qintptr wParam;
        qintptr lParam;
        bool operator==(const Message& other) const
        {
            return message == other.message && wParam == other.wParam && lParam == other.lParam;
        }
    };

    QList<Message> messages;
    QStringList titles;

    qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override
    {
        if (message == WM_APP_SET_TITLE)
            titles << textOf(wParam);
        else
            messages << Message { message, wParam, lParam };
        return 0;
    }
};

namespace QTest {
template <> inline char* toString(const MessageLog::Message& m)
{
    return qstrdup(QByteArray("(0x" + QByteArray::number(m.message, 16) + ", " + QByteArray::number(qint64(m.wParam))
        + ", " + QByteArray::number(qint64(m.lParam)) + ")")
                       .constData());
}
} // namespace QTest
