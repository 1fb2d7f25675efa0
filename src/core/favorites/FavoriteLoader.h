// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <memory>

#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include "core/favorites/FavoriteItem.h"

// Builds the records of a folder's files on a few worker threads, so that a
// folder of large pictures fills the list without freezing it. Records
// arrive on the loader's own thread, in the order they are ready.
class FavoriteLoader : public QObject {
    Q_OBJECT
public:
    explicit FavoriteLoader(QObject* parent = nullptr);
    // Stops the listing and waits for the workers.
    ~FavoriteLoader() override;

    // Starts a listing of these files; an older listing is cancelled first.
    void load(const QStringList& paths);
    // Nothing more of the current listing is delivered, not even finished().
    void cancel();
    // Whether a listing is under way.
    bool isBusy() const { return remaining > 0; }
    // Blocks until the workers are idle (records already made stay queued).
    void waitForWorkers();

signals:
    void loaded(const FavoriteItem& item);
    // Every file of the listing has been delivered.
    void finished();

private:
    struct Listing;

    void deliver(quint64 listingId, const std::optional<FavoriteItem>& item);

    QThreadPool pool;
    // Shared with the workers, which skip their files once it moves on.
    std::shared_ptr<std::atomic<quint64>> generation;
    int remaining = 0;
};
