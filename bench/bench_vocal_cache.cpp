// SPDX-License-Identifier: GPL-3.0-or-later
// A cache hit of the vocal render job (a 5-minute instrumental; target ≤ 50 ms) against its
// baseline in the same run, opening the source once with our decoder. A hit costs the source's
// identity and the openings of the source and the cached file, and runs no worker.
#include "analysis/audio_decoder.h"
#include "audio_files.h"
#include "storage/file_identity.h"
#include "test_home.h"
#include "vocal/instrumental_cache.h"
#include "vocal/vocal_render_job.h"

#include <QFile>

#include <benchmark/benchmark.h>

using namespace kelvara;

namespace {

struct CachedTrack {
    testing::TestHome home;
    testing::AudioFiles files;
    QString source;
    VocalResources resources;

    CachedTrack() {
        source = files.tone(QStringLiteral("five-minutes.flac"), 300.0, 44'100, 2);
        resources = {InstrumentalCache::defaultDirectory(), {}, {}, {}};
        const InstrumentalCache cache(resources.cacheDirectory);
        cache.create();
        QFile::copy(files.tone(QStringLiteral("instrumental.wav"), 300.0, 44'100, 2),
                    cache.fileFor(FileIdentity::of(source)));
    }
};

CachedTrack& track() {
    static CachedTrack cached;
    return cached;
}

void openSourceOnce(benchmark::State& state) {
    const CachedTrack& cached = track();  // made before the timing starts
    for (auto _ : state) {
        AudioDecoder decoder(cached.source);
        benchmark::DoNotOptimize(decoder.format().declaredFrames);
    }
}
BENCHMARK(openSourceOnce)->Unit(benchmark::kMillisecond);

void cacheHit(benchmark::State& state) {
    const CachedTrack& cached = track();
    for (auto _ : state) {
        VocalRenderJob job(cached.resources);
        benchmark::DoNotOptimize(job.render(cached.source, {}));
    }
}
BENCHMARK(cacheHit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
