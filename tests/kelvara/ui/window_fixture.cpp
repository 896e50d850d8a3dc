// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include "ui/content_view.h"
#include "ui/input_view.h"
#include "ui/waveform_view.h"

#include <QLayout>
#include <QMouseEvent>
#include <QSettings>

namespace kelvara::testing {

WindowFixture::WindowFixture() { openWindow(); }

void WindowFixture::openWindow() {
    window.reset();
    state.reset();
    AppStateEnvironment environment;
    environment.bridgeExecutable = qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/src/kelvara/kelvara");
    environment.systemBus.reset();
    state = std::make_unique<AppState>(environment);
    window = std::make_unique<KelvaraWindow>(*state, true);
    window->layout()->activate();  // lays out the children without showing the window
}

WindowFixture::~WindowFixture() {
    window.reset();
    state.reset();
    waitUntil([] { return false; }, 0.05);
}

MusicSnapshot WindowFixture::track(const QString& path, double duration, double position) {
    MusicSnapshot snapshot;
    snapshot.running = true;
    snapshot.id = QStringLiteral("0123456789abcdef");
    snapshot.title = QStringLiteral("Test tone");
    snapshot.path = path;
    snapshot.duration = duration;
    snapshot.position = position;
    snapshot.state = PlaybackState::paused;
    return snapshot;
}

void WindowFixture::clickStrip(double x, Qt::KeyboardModifiers modifiers) {
    InputView* input = window->content()->strip()->inputView();
    const QPointF at(x, 20);
    QMouseEvent press(QEvent::MouseButtonPress, at, input->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
    QMouseEvent release(QEvent::MouseButtonRelease, at, input->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(input, &press);
    QApplication::sendEvent(input, &release);
}

}  // namespace kelvara::testing
