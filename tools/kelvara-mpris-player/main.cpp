// SPDX-License-Identifier: GPL-3.0-or-later
// kelvara-mpris-player: a stand-in MPRIS player on the session bus for tests and demos.
//   kelvara-mpris-player --name NAME [--identity TEXT] [--status Playing|Paused|Stopped]
//                        [--volume V] [--track JSON]... [--also-name NAME2]...
// Owns org.mpris.MediaPlayer2.NAME (and every NAME2 on the same connection, as VLC owns two
// names), prints "ready" once it does, then takes the commands
// that ControlInput lists on its standard input.
#include "control_input.h"
#include "mpris_player_adaptor.h"
#include "mpris_root_adaptor.h"
#include "stand_in_player.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

namespace {

QList<kelvara::StandInTrack> tracksOf(const QStringList& descriptions) {
    QList<kelvara::StandInTrack> tracks;
    for (const QString& description : descriptions) {
        const QJsonObject object = QJsonDocument::fromJson(description.toUtf8()).object();
        const QString trackId = object.contains(QStringLiteral("trackid"))
            ? object.value(QStringLiteral("trackid")).toString()
            : QStringLiteral("/org/kelvara/StandIn/track%1").arg(tracks.size());
        tracks.append({object, QDBusObjectPath(trackId)});
    }
    return tracks;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Bus name after org.mpris.MediaPlayer2."),
                                  QStringLiteral("name"));
    const QCommandLineOption identity(QStringLiteral("identity"), QStringLiteral("Identity property"),
                                      QStringLiteral("text"), QStringLiteral("Kelvara stand-in player"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("Status at start"),
                                    QStringLiteral("status"), QStringLiteral("Paused"));
    const QCommandLineOption volume(QStringLiteral("volume"), QStringLiteral("Volume at start"),
                                    QStringLiteral("volume"), QStringLiteral("1.0"));
    const QCommandLineOption track(QStringLiteral("track"), QStringLiteral("A track as JSON (repeatable)"),
                                   QStringLiteral("json"));
    const QCommandLineOption alsoName(QStringLiteral("also-name"),
                                      QStringLiteral("A further bus name on the same connection (repeatable)"),
                                      QStringLiteral("name"));
    parser.addOptions({name, identity, status, volume, track, alsoName});
    parser.addHelpOption();
    parser.process(application);
    if (parser.value(name).isEmpty()) {
        parser.showHelp(2);
    }

    kelvara::StandInPlayer player(tracksOf(parser.values(track)), parser.value(status), parser.value(volume).toDouble());
    QObject root;
    new kelvara::MprisRootAdaptor(&root, parser.value(identity));
    new kelvara::MprisPlayerAdaptor(&root, player);
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto own = [&bus](const QString& suffix) {
        return bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.") + suffix);
    };
    const QStringList names = QStringList{parser.value(name)} + parser.values(alsoName);
    if (!bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), &root) || !std::all_of(names.begin(), names.end(), own)) {
        std::fprintf(stderr, "kelvara-mpris-player: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    kelvara::ControlInput input(player);
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
