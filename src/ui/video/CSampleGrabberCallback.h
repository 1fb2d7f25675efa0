// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <mutex>

#include <QImage>

class ImageDocument;
class QVideoFrame;

// Receives each camera frame (on any thread), copies it into the document's
// FrameBuffer and tells the document that a frame arrived.
class CSampleGrabberCallback {
public:
    explicit CSampleGrabberCallback(ImageDocument& owner);

    void SampleCB(const QVideoFrame& frame);
    // A camera's frame handler.
    void operator()(const QVideoFrame& frame) { SampleCB(frame); }

    // Converts `frame` to 32-bit pixels and copies it into `target`, clipped
    // to the target's size, while holding `lock`, and only if `gate` (when
    // given) is still set then. `scratch` holds conversions of formats that
    // are not already 32-bit pixels. A copy is counted in `copies` (when
    // given) while the lock is still held. False when nothing was copied.
    static bool copyFrame(const QVideoFrame& frame, QImage& target, std::mutex& lock, QImage& scratch,
        const std::atomic<bool>* gate = nullptr, std::atomic<quint64>* copies = nullptr);

private:
    ImageDocument& owner;
    // Used on the delivering thread only: frames arrive one after another.
    QImage scratch;
};
