// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QString>

// Brings the bytes written to a file onto the disk on a thread of its own,
// so that a command need not wait for the disk (a millisecond or more). Once
// written, bytes survive a crash of the program; the sync makes them survive
// a power cut too, a few milliseconds later.
class DiskSync {
public:
    explicit DiskSync(const QString& path);
    // Finishes the sync still asked for.
    ~DiskSync();

    DiskSync(const DiskSync&) = delete;
    DiskSync& operator=(const DiskSync&) = delete;

    // The file was written: sync it soon. Requests made while a sync runs
    // are served by one more.
    void request();

private:
    void run();

    QString filePath;
    std::mutex lock;
    std::condition_variable changed;
    unsigned long long requested = 0;
    unsigned long long synced = 0;
    bool stopping = false;
    std::thread worker;
};
