// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/favorites/FavoriteLoader.h"

#include <QRunnable>
#include <QThread>

// The files of one listing, which the workers take one after the other.
struct FavoriteLoader::Listing {
    QStringList paths;
    quint64 id = 0;
    std::shared_ptr<std::atomic<quint64>> generation;
    std::atomic<int> next { 0 };
};

namespace {

// Decoding is what takes the time, and two threads already keep a small
// machine busy while the list stays responsive.
int workerCount()
{
    return qBound(2, QThread::idealThreadCount(), 4);
}

} // namespace

FavoriteLoader::FavoriteLoader(QObject* parent)
    : QObject(parent)
    , generation(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<FavoriteItem>();
    pool.setMaxThreadCount(workerCount());
}

FavoriteLoader::~FavoriteLoader()
{
    cancel();
    pool.waitForDone();
}

void FavoriteLoader::load(const QStringList& paths)
{
    cancel();
    auto listing = std::make_shared<Listing>();
    listing->paths = paths;
    listing->id = generation->load();
    listing->generation = generation;
    remaining = int(paths.size());
    if (paths.isEmpty()) {
        const quint64 id = listing->id;
        QMetaObject::invokeMethod(
            this,
            [this, id]() {
                if (generation->load() == id)
                    emit finished();
            },
            Qt::QueuedConnection);
        return;
    }
    const int workers = qMin(int(paths.size()), pool.maxThreadCount());
    for (int w = 0; w < workers; ++w) {
        pool.start([this, listing]() {
            for (;;) {
                if (listing->generation->load() != listing->id)
                    return;
                const int index = listing->next.fetch_add(1);
                if (index >= listing->paths.size())
                    return;
                std::optional<FavoriteItem> item = FavoriteItem::load(listing->paths.at(index));
                // The destructor waits for the workers, so `this` outlives this call.
                const quint64 id = listing->id;
                QMetaObject::invokeMethod(
                    this, [this, id, item = std::move(item)]() { deliver(id, item); }, Qt::QueuedConnection);
            }
        });
    }
}

void FavoriteLoader::cancel()
{
    // Workers and queued records of the older listing see a newer number.
    generation->fetch_add(1);
    remaining = 0;
}

void FavoriteLoader::waitForWorkers()
{
    pool.waitForDone();
}

void FavoriteLoader::deliver(quint64 listingId, const std::optional<FavoriteItem>& item)
{
    if (generation->load() != listingId)
        return;
    if (item)
        emit loaded(*item);
    // A slot may have started another listing meanwhile.
    if (generation->load() != listingId)
        return;
    if (--remaining == 0)
        emit finished();
}
