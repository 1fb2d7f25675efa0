// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/favorites/FavoriteName.h"

namespace {

QString refused(const QString& name, const QString& reason)
{
    // Control characters would garble the message: show them as "?".
    QString shown = name;
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return QStringLiteral("\u201C%1\u201D cannot be the name of a favorite: %2").arg(shown, reason);
}

} // namespace

QString FavoriteName::problem(const QString& name, const QString& suffix)
{
    if (name.isEmpty())
        return QStringLiteral("A favorite needs a name.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return refused(name, QStringLiteral("\u201C.\u201D and \u201C..\u201D name folders, not files."));
    // Both separators, so that a favourite names the same file on every system.
    if (name.contains(u'/') || name.contains(u'\\'))
        return refused(name, QStringLiteral("it may not hold \u201C/\u201D or \u201C\\\u201D."));
    // A lone surrogate has no UTF-8 form: the file would get another name.
    if (!name.isValidUtf16())
        return refused(name, QStringLiteral("it holds a character that cannot be stored."));
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return refused(name, QStringLiteral("it may not hold control characters."));
    }
    const int bytes = int((name + suffix).toUtf8().size());
    if (bytes > MaxBytes)
        return refused(name,
            QStringLiteral("the file name is %1 bytes long, more than the %2 a file system takes.")
                .arg(bytes)
                .arg(MaxBytes));
    return QString();
}
