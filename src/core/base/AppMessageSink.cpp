// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/base/AppMessageSink.h"

QString AppMessageSink::textOf(qintptr arg)
{
    const auto* text = reinterpret_cast<const QString*>(arg);
    return text ? *text : QString();
}
