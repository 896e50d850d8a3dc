// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vocal/runtime_descriptor.h"
#include "vocal/vocal_resources.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <mutex>

namespace kelvara {

// Turns a track's audio file into an instrumental by running the separation worker, and keeps
// the result in the instrumental cache so that a file is separated once while it is unchanged.
// One job serves one preparation: its owner makes a new job for each track, runs render() on a
// worker thread and may cancel() from any thread at any time.
class VocalRenderJob {
public:
    using Progress = std::function<void(const QString&)>;

    explicit VocalRenderJob(VocalResources resources);
    VocalRenderJob(const VocalRenderJob&) = delete;
    VocalRenderJob& operator=(const VocalRenderJob&) = delete;

    // The path of the cached instrumental of `source`, rendered first unless a valid one is
    // cached. Blocks for the whole run; call it off the GUI thread, at most once. `progress`
    // gets the worker's status texts, ready to show, on the calling thread. Throws
    // CancellationError once cancelled, WaveformError with the text to show when the module
    // is missing or the worker, its result or the source fails, and the platform's error for
    // files and the source's identity. After a failure the cache is as it was.
    QString render(const QString& source, const Progress& progress);

    // Stops the run: before the worker starts none is started; during the run the worker's
    // whole process group is terminated and render() throws CancellationError. Any thread.
    void cancel();

private:
    // The worker's result file, accepted by the event rules; throws as render() does.
    QString runWorker(const RuntimeDescriptor& runtime, const QString& source, const QString& workFolder,
                      const Progress& progress);
    // Kills the worker's group once it has ignored a cancel for too long.
    void killIfStuck(QElapsedTimer& sinceCancel);
    // Clears the running worker, ending what is left of its group; whether it was cancelled.
    bool finished();

    const VocalResources resources_;

    // Shared between the rendering thread and cancel(), guarded by lock_.
    std::mutex lock_;
    qint64 processGroup_ = 0;  // the running worker's, 0 when none runs
    bool cancelled_ = false;
};

}  // namespace kelvara
