// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <optional>

#include <QImage>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One favourite picture as the list shows it, read from its JPEG file.
struct FavoriteItem {
    // Sort fields and directions, as stored in the settings.
    enum SortField { ByName = 0, ByDate = 1, ByDescription = 2 };
    enum SortDirection { Ascending = 0, Descending = 1 };

    static constexpr int ThumbnailWidth = 160;
    static constexpr int ThumbnailHeight = 120;

    // The record's identity in the list (decimal text), set by the list.
    QString key;
    // The file name without its folder and without the part from its last ".".
    QString name;
    QString path;
    // The file's ImageDescription tag, or empty.
    QString description;
    // `created` as local time, "%#m/%#d/%Y %I:%M:%S %p" (3/14/2006 09:05:07 AM).
    QString dateText;
    // Seconds since 1970 (UTC); the file's birth time where the file system
    // records it, else its last modification; 0 when unknown.
    qint64 created = 0;
    // 160 x 120 whatever the picture's aspect; null when the file is no picture.
    QImage thumbnail;

    // Reads the record of a file. Safe on any thread. A file that is no
    // readable picture still gives a record, without a thumbnail; a pipe,
    // socket or device gives none and is never opened.
    static std::optional<FavoriteItem> load(const QString& path);
    // `created` as the date text above, in local time, whatever the locale.
    static QString formatDate(qint64 created);

    // Three-way order of two records: negative when `a` goes first. Names and
    // descriptions compare byte by byte (UTF-8), case-sensitive; equal dates
    // are equal; an unknown field makes all records equal.
    static int compare(const FavoriteItem& a, const FavoriteItem& b, int sortField, int sortDirection);
};

// Records travel from the loading threads to the list in queued signals.
Q_DECLARE_METATYPE(FavoriteItem)
