// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of threads that stay for the life of the program and share
// jobs cut into bands with the thread that asks. Starting threads for every
// filter run would cost more than a small image takes to filter.
class BandWorkers {
public:
    // `helpers` threads beside the caller; 0 runs everything on the caller.
    explicit BandWorkers(int helpers);
    ~BandWorkers();

    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    // One helper per further core, made on first use.
    static BandWorkers& shared();

    // How many threads work on a job, the caller included.
    int threads() const { return int(helpers.size()) + 1; }

    // Runs job(0) … job(count − 1), each band once, on the helpers and the
    // calling thread, and returns when all are done. One job at a time:
    // concurrent callers wait their turn.
    void run(int count, const std::function<void(int)>& job);

    // How many bands a picture of `pixels` pixels is cut into: `requested`
    // when positive, one below `bandedFrom` pixels, else a few per thread
    // (when another program holds a core, the running threads take over the
    // bands left).
    static int bandsFor(long long pixels, long long bandedFrom, int requested);
    // Runs the bands on the shared threads; a single band stays on the
    // calling thread and never starts the helpers.
    static void runBands(int count, const std::function<void(int)>& job);
    // The first of `rows` rows that band `band` of `count` covers; the band
    // ends where the next one starts.
    static int firstRow(int rows, int band, int count) { return int((long long)rows * band / count); }

private:
    void helperLoop();
    void drain();

    std::vector<std::thread> helpers;
    std::mutex callerMutex;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    const std::function<void(int)>* job = nullptr;
    int bandCount = 0;
    std::atomic<int> nextBand { 0 };
    // Helpers that have finished the current job; a job ends only when all
    // have looked at it, so none can pick up a stale one later.
    int finished = 0;
    unsigned generation = 0;
    bool stopping = false;
};
