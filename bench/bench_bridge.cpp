// SPDX-License-Identifier: GPL-3.0-or-later
// A snapshot's round trip through MusicController → bridge child → mpv → back, against the
// baseline of one `playerctl metadata` process asking the same mpv in the same run. Both run
// on a private bus with a real mpv playing a generated file. The same round trip is measured
// again with five more players on the bus, one of them hung (stopped with SIGSTOP), against
// the figure with mpv alone. Reported per benchmark: median and 99th percentile of single
// round trips; at the end, the ratios of the medians.
#include "i18n/app_language.h"
#include "mpv_player.h"
#include "player/music_controller.h"
#include "private_bus.h"
#include "stand_in_process.h"
#include "test_home.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::map<std::string, double> medians;  // milliseconds, by what was measured

kelvara::MusicController& controller() {
    static kelvara::MusicController instance(QStringLiteral(KELVARA_EXECUTABLE));
    return instance;
}

kelvara::MusicSnapshot snapshot() {
    return QCoro::waitFor(controller().request(kelvara::BridgeRequest::snapshot()));
}

bool askPlayerctl() {
    QProcess playerctl;
    playerctl.start(QStringLiteral("playerctl"), {QStringLiteral("metadata")});
    return playerctl.waitForFinished() && playerctl.exitCode() == 0 && !playerctl.readAllStandardOutput().isEmpty();
}

template <typename RoundTrip>
void measure(benchmark::State& state, const std::string& name, RoundTrip roundTrip) {
    std::vector<double> samples;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (!roundTrip()) {
            state.SkipWithError("the round trip failed");
            return;
        }
        samples.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    state.counters["median_ms"] = median;
    state.counters["p99_ms"] = samples[samples.size() * 99 / 100];
    medians[name] = median;
}

void BM_ControllerSnapshot(benchmark::State& state) {
    measure(state, "controller", [] {
        const kelvara::MusicSnapshot reply = snapshot();
        return reply.running && !reply.error;
    });
}

// Five players besides mpv, started once and kept: paused ones that sort before it, so a
// choice made afresh would look at them first, and one that hangs.
void startOtherPlayers() {
    static std::vector<std::unique_ptr<kelvara::testing::StandInProcess>> others;
    if (!others.empty()) {
        return;
    }
    for (int index = 0; index < 5; ++index) {
        others.push_back(std::make_unique<kelvara::testing::StandInProcess>(
            QStringLiteral("a%1").arg(index), QList<QJsonObject>{QJsonObject{{"title", "other"}}}, QStringLiteral("Paused")));
    }
    others.front()->freeze();
}

void BM_ControllerSnapshotAmongSixPlayers(benchmark::State& state) {
    startOtherPlayers();
    measure(state, "six players", [] {
        const kelvara::MusicSnapshot reply = snapshot();
        return reply.running && !reply.error && reply.title != QLatin1String("other");
    });
}

void BM_BaselinePlayerctlMetadata(benchmark::State& state) { measure(state, "playerctl", askPlayerctl); }

// playerctl asks every player on the bus, so it runs before the others (and the hung one) come.
BENCHMARK(BM_ControllerSnapshot)->Iterations(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselinePlayerctlMetadata)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControllerSnapshotAmongSixPlayers)->Iterations(3000)->Unit(benchmark::kMillisecond);

QString generatedTone(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    QProcess::execute(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                              QStringLiteral("-c"), QStringLiteral("2"), path, QStringLiteral("synth"),
                                              QStringLiteral("600"), QStringLiteral("sine"), QStringLiteral("440")});
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    kelvara::AppLanguage::fixCurrent(kelvara::AppLanguage::Case::English);
    kelvara::testing::TestHome home;
    kelvara::testing::PrivateBus bus;
    QTemporaryDir dir;
    kelvara::testing::MpvPlayer mpv(bus, {generatedTone(dir)}, false);
    if (!snapshot().running) {  // starts the child, outside the measurement
        std::fprintf(stderr, "bench_bridge: the bridge does not see mpv\n");
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double ours = medians["controller"];
    const double baseline = medians["playerctl"];
    if (ours > 0 && baseline > 0) {
        std::printf("snapshot round trip: median %.3f ms; playerctl metadata: median %.3f ms; %.1fx faster\n", ours,
                    baseline, baseline / ours);
    }
    const double crowded = medians["six players"];
    if (ours > 0 && crowded > 0) {
        std::printf("among six players, one hung: median %.3f ms; %.2fx the round trip with mpv alone\n", crowded,
                    crowded / ours);
    }
    return 0;
}
