// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_state_fixture.h"

#include "i18n/app_language.h"

#include <QCoreApplication>
#include <QSettings>

namespace kelvara::testing {

namespace {
QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "app_state_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}
}  // namespace

AppStateFixture::AppStateFixture() {
    application();
    AppLanguage::fixCurrent(AppLanguage::Case::Russian);  // the texts below are the Russian keys
}

AppStateFixture::~AppStateFixture() { destroyState(); }

AppState& AppStateFixture::makeState() {
    destroyState();
    AppStateEnvironment environment;
    environment.clock = timeSource;
    environment.sessionBus = sessionBus ? *sessionBus : QDBusConnection(QStringLiteral("no bus"));
    environment.bridgeExecutable = bridgeExecutable();
    environment.systemBus = systemBus;
    state = std::make_unique<AppState>(environment);
    QObject::connect(&state->analysis(), &AnalysisFollower::analysisMessageChanged, state.get(),
                     [this] { messages_.append(state->analysis().analysisMessage()); });
    return *state;
}

void AppStateFixture::destroyState() {
    state.reset();
    messages_.clear();
    // Let ended tasks and late analysis results run out against the destroyed state.
    waitUntil([] { return false; }, 0.05);
}

QString AppStateFixture::bridgeExecutable() {
    return qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/src/kelvara/kelvara");
}

MusicSnapshot AppStateFixture::track(const QString& id, const QString& path, double position, bool playing,
                                     double duration) {
    MusicSnapshot snapshot;
    snapshot.running = true;
    snapshot.id = id;
    snapshot.title = id;
    snapshot.path = path;
    snapshot.duration = duration;
    snapshot.position = position;
    snapshot.state = playing ? PlaybackState::playing : PlaybackState::paused;
    return snapshot;
}

QStringList AppStateFixture::messages() const { return messages_; }

}  // namespace kelvara::testing
