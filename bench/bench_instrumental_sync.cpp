// SPDX-License-Identifier: GPL-3.0-or-later
// How seamless the instrumental mode is with a real mpv on a private bus: the instrumental's
// position against mpv's (read over MPRIS) when a switch finishes and 0.5 s later — switching in
// while mpv plays, and handing back while the instrumental plays. The baseline, in the same run,
// is the same reading while mpv alone plays: the shown position against mpv's, the error of
// reading the two at all. Reported: median and largest offset of each, in milliseconds.
#include "app_state.h"
#include "audio_files.h"
#include "bus_environment.h"
#include "i18n/app_language.h"
#include "mpv_player.h"
#include "private_bus.h"
#include "test_home.h"
#include "wait_until.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using kelvara::testing::waitUntil;

struct World {
    kelvara::AppState& state;
    kelvara::testing::MpvPlayer& mpv;
};

World* world = nullptr;
std::map<std::string, std::vector<double>> offsets;  // milliseconds, by what was measured

void runFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets mpv play until the state has seen it play for a while.
bool playTrack() {
    if (!world->state.playback().snapshot().playing()) {
        world->state.togglePlayback();
    }
    const bool playing = waitUntil([] { return world->state.playback().snapshot().playing(); });
    runFor(500);
    return playing;
}

// Toggles the vocals and reads `offset` the moment the switch is over.
bool switchAndRead(bool active, double& offset, const std::function<double()>& read) {
    kelvara::InstrumentalMode& mode = world->state.instrumental();
    const QMetaObject::Connection reader = QObject::connect(&mode, &kelvara::InstrumentalMode::vocalSwitchingChanged, [&] {
        if (!mode.vocalSwitching()) {
            offset = read();
        }
    });
    world->state.toggleVocals();
    const bool switched = waitUntil([&] { return mode.vocalActive() == active && !mode.vocalSwitching(); });
    QObject::disconnect(reader);
    return switched;
}

void record(const std::string& name, double seconds) { offsets[name].push_back(std::abs(seconds) * 1000); }

std::pair<double, double> medianAndLargest(const std::string& name) {
    std::vector<double> sorted = offsets[name];
    std::sort(sorted.begin(), sorted.end());
    return {sorted[sorted.size() / 2], sorted.back()};
}

void report(benchmark::State& state, const std::string& name) {
    const auto [median, largest] = medianAndLargest(name);
    state.counters[name + "_median_ms"] = median;
    state.counters[name + "_max_ms"] = largest;
}

void BM_BaselineShownPositionWhileMpvPlays(benchmark::State& state) {
    for (auto _ : state) {
        if (!playTrack()) {
            state.SkipWithError("mpv does not play");
            return;
        }
        const double before = world->mpv.position();
        const double shown = world->state.position();
        const double after = world->mpv.position();
        record("baseline", shown - (before + after) / 2);
    }
    report(state, "baseline");
}

// Each switch is read twice: where the new side stands when the switch is over, and 0.5 s later
// against where it should be by then (a late start shows here, as a lag behind real time).
void BM_SwitchInAndHandBackWhileMpvPlays(benchmark::State& state) {
    kelvara::AppState& app = world->state;
    kelvara::testing::MpvPlayer& mpv = world->mpv;
    QElapsedTimer sinceSwitch;
    const auto secondsSinceSwitch = [&] { return static_cast<double>(sinceSwitch.nsecsElapsed()) / 1e9; };
    for (auto _ : state) {
        double switchIn = 0;
        double pausedAt = 0;
        const bool inside = playTrack() && switchAndRead(true, switchIn, [&] {
            sinceSwitch.start();
            pausedAt = mpv.position();
            return app.position() - pausedAt;
        });
        runFor(500);
        const double switchInLag = app.position() - (pausedAt + secondsSinceSwitch());

        double handBack = 0;
        const double instrumentalAt = app.position();
        const bool back = inside && switchAndRead(false, handBack, [&] {
            sinceSwitch.start();
            return mpv.position() - instrumentalAt;
        });
        runFor(500);
        const double handBackLag = mpv.position() - (instrumentalAt + secondsSinceSwitch());
        if (!back) {
            state.SkipWithError("the switch did not finish");
            return;
        }
        record("switch_in", switchIn);
        record("switch_in_lag", switchInLag);
        record("hand_back", handBack);
        record("hand_back_lag", handBackLag);
    }
    for (const char* name : {"switch_in", "switch_in_lag", "hand_back", "hand_back_lag"}) {
        report(state, name);
    }
}

BENCHMARK(BM_BaselineShownPositionWhileMpvPlays)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchInAndHandBackWhileMpvPlays)->Iterations(10)->Unit(benchmark::kMillisecond);

void printSummary(const std::string& name) {
    if (offsets[name].empty()) {
        return;
    }
    const auto [median, largest] = medianAndLargest(name);
    std::printf("%-14s median %6.1f ms, largest %6.1f ms over %zu runs\n", name.c_str(), median, largest, offsets[name].size());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    kelvara::AppLanguage::fixCurrent(kelvara::AppLanguage::Case::English);
    kelvara::testing::TestHome home;
    kelvara::testing::PrivateBus bus;
    kelvara::testing::AudioFiles audio;
    // Long enough for every run to play on without reaching the end.
    kelvara::testing::MpvPlayer mpv(bus, {audio.stereoSong(QStringLiteral("song.wav"), 180)});
    kelvara::AppStateEnvironment environment = kelvara::testing::busEnvironment(bus);
    environment.bridgeExecutable = QStringLiteral(KELVARA_EXECUTABLE);
    kelvara::AppState state(environment);
    state.start();
    if (!waitUntil([&] { return state.vocals().vocalReady(); }, 120)) {
        std::fprintf(stderr, "bench_instrumental_sync: no instrumental: %s\n", qPrintable(state.vocals().vocalStatus()));
        return 1;
    }
    World here{state, mpv};
    world = &here;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("Offsets from the position the other side had at the switch (target ≤ 30 ms); _lag: 0.5 s later,\n"
                "against that position carried on in real time; baseline: the shown position against mpv's while it plays\n");
    for (const char* name : {"switch_in", "switch_in_lag", "hand_back", "hand_back_lag", "baseline"}) {
        printSummary(name);
    }
    return 0;
}
