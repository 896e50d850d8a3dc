// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis engine against its own decoder. For 300 s stereo MP3, AAC, FLAC and WAV files
// each iteration times the decoder alone (no analysis) and then the whole analysis of the
// same file, and reports analysis ÷ decode-only ("ratio"). Also: the peak resident memory of
// analysing a 60-minute file (in a child process), and a cache hit of a full 32,768-point
// record against reading the same file's bytes. The audio is made with ffmpeg into a
// temporary folder when the run starts. bench/run-analysis adds the outside peers.
#include "analysis/audio_decoder.h"
#include "analysis/waveform_analyzer.h"
#include "storage/waveform_cache.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void ffmpeg(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"),
                  QStringList{QStringLiteral("-nostdin"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                              QStringLiteral("-y")} +
                      arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", process.readAllStandardError().constData());
        std::exit(1);
    }
}

// Pink noise over a kick drum every half second: broadband like music, with a beat.
QStringList musicLike(int seconds) {
    const QString duration = QString::number(seconds);
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("anoisesrc=c=pink:r=44100:a=0.15:d=") + duration,
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("aevalsrc=0.6*sin(2*PI*55*t)*exp(-18*mod(t\\,0.5)):s=44100:d=") + duration,
            QStringLiteral("-filter_complex"), QStringLiteral("amix=inputs=2:normalize=0"),
            QStringLiteral("-ac"), QStringLiteral("2")};
}

class BenchFiles {
public:
    BenchFiles() {
        std::fprintf(stderr, "Making the benchmark audio in %s …\n", qPrintable(dir_.path()));
        ffmpeg(musicLike(300) + QStringList{path("wav")});
        ffmpeg({QStringLiteral("-i"), path("wav"), QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                QStringLiteral("-b:a"), QStringLiteral("320k"), path("mp3")});
        ffmpeg({QStringLiteral("-i"), path("wav"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                QStringLiteral("-b:a"), QStringLiteral("256k"), path("m4a")});
        ffmpeg({QStringLiteral("-i"), path("wav"), path("flac")});
        ffmpeg(musicLike(3'600) + QStringList{hour()});
    }

    QString path(const char* extension) const { return dir_.filePath(QStringLiteral("track.") + QLatin1String(extension)); }
    QString hour() const { return dir_.filePath(QStringLiteral("hour.flac")); }
    QString cacheFolder() const { return dir_.filePath(QStringLiteral("cache")); }

private:
    QTemporaryDir dir_;
};

const BenchFiles& files() {
    static const BenchFiles instance;
    return instance;
}

class NullSink : public kelvara::AudioBlockSink {
public:
    bool consume(kelvara::AudioBlock&) override { return true; }
};

double threadSeconds() {
    timespec now = {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Cost {
    double wall = 0;
    double cpu = 0;  // of the calling thread

    Cost& operator+=(const Cost& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

Cost costOf(const auto& work) {
    const auto start = Clock::now();
    const double cpuStart = threadSeconds();
    work();
    return {std::chrono::duration<double>(Clock::now() - start).count(), threadSeconds() - cpuStart};
}

// Whether two threads really run at once here right now: 2 on two free cores, 1 when
// other work takes one of them (the pipelined analysis then cannot gain).
void BM_ParallelismOfThisMachine(benchmark::State& state) {
    const auto spin = [] {
        double x = 0;
        for (int i = 0; i < 20'000'000; ++i) {
            benchmark::DoNotOptimize(x += i);
        }
    };
    double alone = 0, together = 0;
    for (auto _ : state) {
        alone += costOf(spin).wall;
        together += costOf([&] {
            std::thread other(spin);
            spin();
            other.join();
        }).wall;
    }
    state.counters["parallel_speedup"] = 2 * alone / together;
}
BENCHMARK(BM_ParallelismOfThisMachine)->Iterations(3)->Unit(benchmark::kMillisecond);

// Decode-only and analysis alternate, so both see the same load. On a shared machine other
// work steals a core now and then; the best of several runs of each ("ratio") is the figure
// that says what the code does, the ratio of the means shows the interference. The CPU time
// of the calling thread shows the two halves of the pipeline: decode_cpu_ms is the decoder
// alone, analysis_thread_cpu_ms the filters, sums and tempo that run beside it.
void BM_AnalysisOverDecode(benchmark::State& state, const char* extension) {
    const QString file = files().path(extension);
    Cost decoding, analysing;
    double bestDecode = 1e9, bestAnalysis = 1e9;
    for (auto _ : state) {
        const Cost decode = costOf([&] {
            kelvara::AudioDecoder decoder(file);
            NullSink sink;
            benchmark::DoNotOptimize(decoder.decode(sink));
        });
        const Cost analysis = costOf([&] { benchmark::DoNotOptimize(kelvara::WaveformAnalyzer::analyze(file, {}, {})); });
        decoding += decode;
        analysing += analysis;
        bestDecode = std::min(bestDecode, decode.wall);
        bestAnalysis = std::min(bestAnalysis, analysis.wall);
        state.SetIterationTime(analysis.wall);
    }
    const auto n = static_cast<double>(state.iterations()) / 1000;
    state.counters["decode_best_ms"] = 1000 * bestDecode;
    state.counters["analysis_best_ms"] = 1000 * bestAnalysis;
    state.counters["decode_cpu_ms"] = decoding.cpu / n;
    state.counters["analysis_thread_cpu_ms"] = analysing.cpu / n;
    state.counters["ratio"] = bestAnalysis / bestDecode;
    state.counters["ratio_of_means"] = analysing.wall / decoding.wall;
}
BENCHMARK_CAPTURE(BM_AnalysisOverDecode, mp3, "mp3")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnalysisOverDecode, aac, "m4a")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnalysisOverDecode, flac, "flac")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnalysisOverDecode, wav, "wav")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// Peak resident memory of a child that does `work` and exits, in MiB. The child starts as a
// copy of this process, so the figure includes what the benchmark itself holds.
double childPeakMiB(const auto& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage = {};
    ::wait4(child, &status, 0, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PeakMemoryOfAnHour(benchmark::State& state) {
    const QString file = files().hour();
    double baseline = 0, analysing = 0;
    for (auto _ : state) {
        baseline = childPeakMiB([] {});
        analysing = childPeakMiB([&] { kelvara::WaveformAnalyzer::analyze(file, {}, {}); });
    }
    state.counters["child_baseline_MiB"] = baseline;
    state.counters["peak_rss_MiB"] = analysing;
}
BENCHMARK(BM_PeakMemoryOfAnHour)->Iterations(1)->Unit(benchmark::kMillisecond);

const kelvara::FileIdentity& cachedIdentity() {
    static const kelvara::FileIdentity identity = [] {
        const auto waveform = kelvara::WaveformAnalyzer::analyze(files().path("flac"), {}, {});
        const kelvara::FileIdentity id = kelvara::FileIdentity::of(files().path("flac"));
        kelvara::WaveformCache(files().cacheFolder()).save(waveform, id);
        return id;
    }();
    return identity;
}

void BM_CacheHitFullRecord(benchmark::State& state) {
    const kelvara::WaveformCache cache(files().cacheFolder());
    const kelvara::FileIdentity& identity = cachedIdentity();
    for (auto _ : state) {
        auto waveform = cache.load(identity);
        if (!waveform) {
            state.SkipWithError("cache miss");
            return;
        }
        benchmark::DoNotOptimize(waveform->peaks.data());
    }
}
BENCHMARK(BM_CacheHitFullRecord)->Unit(benchmark::kMillisecond);

void BM_BaselineReadCacheFile(benchmark::State& state) {
    const QString path = kelvara::WaveformCache(files().cacheFolder()).fileFor(cachedIdentity());
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().data());
    }
}
BENCHMARK(BM_BaselineReadCacheFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
