// SPDX-License-Identifier: GPL-3.0-or-later
// A cache hit of the vocal render job (a 5-minute instrumental) against its baseline in the
// same run: opening the source once with our decoder. A hit costs two such openings and the
// file's identity, so the ratio stays near 2 whatever the machine; the target is ≤ 50 ms.
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
    for (auto _ : state) {
        AudioDecoder decoder(track().source);
        benchmark::DoNotOptimize(decoder.format().declaredFrames);
    }
}
BENCHMARK(openSourceOnce)->Unit(benchmark::kMillisecond);

void cacheHit(benchmark::State& state) {
    for (auto _ : state) {
        VocalRenderJob job(track().resources);
        benchmark::DoNotOptimize(job.render(track().source, {}));
    }
}
BENCHMARK(cacheHit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
