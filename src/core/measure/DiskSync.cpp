// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/measure/DiskSync.h"

#include <QFile>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace {

void syncFile(const QString& path)
{
    QFile file(path);
    // Opened for writing, which Windows wants for a flush; appending
    // changes nothing.
    if (!file.exists() || !file.open(QIODevice::ReadWrite | QIODevice::Append))
        return;
#if defined(Q_OS_UNIX)
    ::fsync(file.handle());
#elif defined(Q_OS_WIN)
    ::_commit(file.handle());
#endif
}

} // namespace

DiskSync::DiskSync(const QString& path)
    : filePath(path)
{
}

DiskSync::~DiskSync()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    changed.notify_all();
    if (worker.joinable())
        worker.join();
}

void DiskSync::request()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        ++requested;
        if (!worker.joinable())
            worker = std::thread(&DiskSync::run, this);
    }
    changed.notify_all();
}

void DiskSync::run()
{
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        changed.wait(hold, [&] { return stopping || synced < requested; });
        if (synced == requested)
            return;
        const unsigned long long target = requested;
        hold.unlock();
        syncFile(filePath);
        hold.lock();
        synced = target;
    }
}
