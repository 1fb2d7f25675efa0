// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/BandWorkers.h"

#include <algorithm>

namespace {
// Beyond this the filters are limited by memory, not by cores.
constexpr int maxThreads = 8;
}

BandWorkers::BandWorkers(int helperCount)
{
    for (int i = 0; i < helperCount; ++i)
        helpers.emplace_back([this] { helperLoop(); });
}

BandWorkers::~BandWorkers()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& helper : helpers)
        helper.join();
}

BandWorkers& BandWorkers::shared()
{
    static BandWorkers workers(std::clamp(int(std::thread::hardware_concurrency()), 1, maxThreads) - 1);
    return workers;
}

void BandWorkers::run(int count, const std::function<void(int)>& work)
{
    if (count <= 0)
        return;
    if (count == 1 || helpers.empty()) {
        for (int band = 0; band < count; ++band)
            work(band);
        return;
    }
    std::lock_guard<std::mutex> turn(callerMutex);
    {
        std::lock_guard<std::mutex> lock(mutex);
        job = &work;
        bandCount = count;
        nextBand.store(0, std::memory_order_relaxed);
        finished = 0;
        ++generation;
    }
    wake.notify_all();
    drain();
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return finished == int(helpers.size()); });
    job = nullptr;
}

void BandWorkers::drain()
{
    for (int band = nextBand.fetch_add(1); band < bandCount; band = nextBand.fetch_add(1))
        (*job)(band);
}

void BandWorkers::helperLoop()
{
    unsigned seen = 0;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return stopping || generation != seen; });
        if (stopping)
            return;
        seen = generation;
        lock.unlock();
        drain();
        lock.lock();
        if (++finished == int(helpers.size()))
            done.notify_one();
    }
}

int BandWorkers::bandsFor(long long pixels, long long bandedFrom, int requested)
{
    if (requested > 0)
        return requested;
    if (pixels < bandedFrom)
        return 1;
    return shared().threads() * 4;
}

void BandWorkers::runBands(int count, const std::function<void(int)>& job)
{
    if (count == 1)
        job(0);
    else
        shared().run(count, job);
}
