// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/instrumental_playback.h"

#include "i18n/l.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QUrl>

#include <algorithm>
#include <chrono>

namespace kelvara {

namespace {

Q_LOGGING_CATEGORY(instrumentalLog, "kelvara.instrumental")

using namespace std::chrono_literals;

// A local file loads in milliseconds; a player that takes longer is not going to play it.
constexpr auto loadTimeout = 5s;
constexpr auto loadCheckInterval = 5ms;

// A real end is reported at the duration, give or take a buffer.
constexpr double endTolerance = 0.5;

bool loadFinished(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia ||
           status == QMediaPlayer::InvalidMedia;
}

}  // namespace

InstrumentalPlayback::InstrumentalPlayback(QObject* parent) : QObject(parent) {
    player_.setAudioOutput(&output_);
    connect(&player_, &QMediaPlayer::mediaStatusChanged, this, &InstrumentalPlayback::followStatus);
    connect(&player_, &QMediaPlayer::errorOccurred, this, &InstrumentalPlayback::reportError);
    connect(&player_, &QMediaPlayer::positionChanged, this,
            [this](qint64 milliseconds) { lastPosition_ = static_cast<double>(milliseconds) / 1000; });
}

QCoro::Task<bool> InstrumentalPlayback::open(QString path, std::shared_ptr<UptimeClock> clock) {
    QPointer<InstrumentalPlayback> self(this);
    player_.setSource(QUrl::fromLocalFile(path));
    const double deadline = clock->now() + std::chrono::duration<double>(loadTimeout).count();
    while (self && !loadFinished(player_.mediaStatus()) && player_.error() == QMediaPlayer::NoError) {
        if (clock->now() > deadline || !co_await clock->sleep(loadCheckInterval, TaskToken())) {
            co_return false;
        }
    }
    co_return self && player_.error() == QMediaPlayer::NoError && player_.mediaStatus() != QMediaPlayer::InvalidMedia &&
        player_.duration() > 0;
}

double InstrumentalPlayback::duration() const { return static_cast<double>(player_.duration()) / 1000; }

double InstrumentalPlayback::position() const {
    const double now = failed_ ? lastPosition_ : heldAt_.value_or(static_cast<double>(player_.position()) / 1000);
    return std::clamp(now, 0.0, duration());
}

bool InstrumentalPlayback::playing() const { return player_.playbackState() == QMediaPlayer::PlayingState; }

bool InstrumentalPlayback::play() {
    heldAt_.reset();
    player_.play();
    return player_.error() == QMediaPlayer::NoError && playing();
}

void InstrumentalPlayback::pause() {
    if (playing()) {
        heldAt_ = position();
    }
    player_.pause();
}

void InstrumentalPlayback::setPosition(double seconds) {
    lastPosition_ = seconds;
    if (!playing()) {
        heldAt_ = seconds;
    }
    player_.setPosition(static_cast<qint64>(seconds * 1000));
}

void InstrumentalPlayback::setVolume(double volume) { output_.setVolume(static_cast<float>(std::clamp(volume, 0.0, 1.0))); }

// A file cut short while it plays is no error to the player: it reports an ordinary end where
// the data ran out. That is a break, not the instrumental's end.
void InstrumentalPlayback::followStatus(QMediaPlayer::MediaStatus status) {
    if (status != QMediaPlayer::EndOfMedia || failed_) {
        return;
    }
    const double reached = static_cast<double>(player_.position()) / 1000;
    if (reached < duration() - endTolerance) {
        breakOff(reached, L("Инструментал оборвался: файл повреждён"));
        return;
    }
    emit finished();
}

// The player may already have moved back to 0 when it reports: the last position it showed stands.
void InstrumentalPlayback::reportError(QMediaPlayer::Error error, const QString& text) {
    if (error == QMediaPlayer::NoError || failed_) {
        return;
    }
    breakOff(lastPosition_, text);
}

void InstrumentalPlayback::breakOff(double position, const QString& error) {
    qCWarning(instrumentalLog) << "instrumental playback broke off at" << position << "s:" << error;
    lastPosition_ = position;
    failed_ = true;
    emit failed(error);
}

}  // namespace kelvara
