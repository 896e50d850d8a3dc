// SPDX-License-Identifier: GPL-3.0-or-later
// kelvara-mpris-player: a stand-in MPRIS player on the session bus for tests and demos.
//   kelvara-mpris-player --name NAME [--identity TEXT] [--status Playing|Paused|Stopped]
//                        [--volume V] [--track JSON]... [--also-name NAME2]...
//                        [--window WxH [--window-type normal|dialog|utility]]
// Owns org.mpris.MediaPlayer2.NAME (and every NAME2 on the same connection, as VLC owns two
// names). With --window it shows an X11 window of that size and type and first prints
// "window PID" (its own process id, as the window carries it). It prints "ready" once it owns
// its names, then takes the commands
// that ControlInput lists on its standard input.
#include "control_input.h"
#include "mpris_player_adaptor.h"
#include "mpris_root_adaptor.h"
#include "stand_in_player.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QDBusConnection>
#include <QDBusError>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

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

// A window needs the GUI platform; without one the player runs with no display at all. The
// GUI application is given no arguments, since it would take --name for itself.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[]) {
    const bool window = std::any_of(argv + 1, argv + argc, [](const char* word) { return std::strcmp(word, "--window") == 0; });
    if (window) {
        static int programOnly = 1;
        return std::make_unique<QGuiApplication>(programOnly, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

Qt::WindowFlags flagsOf(const QString& type) {
    if (type == QLatin1String("dialog")) {
        return Qt::Dialog;
    }
    return type == QLatin1String("utility") ? Qt::Tool : Qt::Window;
}

std::unique_ptr<QWindow> showWindow(const QString& size, const QString& type) {
    const QStringList sides = size.split(QLatin1Char('x'));
    auto window = std::make_unique<QWindow>();
    window->setFlags(flagsOf(type));
    window->setTitle(QStringLiteral("Kelvara stand-in player"));
    window->resize(sides.value(0).toInt(), sides.value(1).toInt());
    window->show();
    std::printf("window %lld\n", static_cast<long long>(getpid()));
    std::fflush(stdout);
    return window;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index) {
        arguments.append(QString::fromLocal8Bit(argv[index]));
    }
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
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
    const QCommandLineOption window(QStringLiteral("window"), QStringLiteral("Show an X11 window of this size"),
                                    QStringLiteral("WxH"));
    const QCommandLineOption windowType(QStringLiteral("window-type"), QStringLiteral("normal, dialog or utility"),
                                        QStringLiteral("type"), QStringLiteral("normal"));
    parser.addOptions({name, identity, status, volume, track, alsoName, window, windowType});
    parser.addHelpOption();
    parser.process(arguments);
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
    const std::unique_ptr<QWindow> shown =
        parser.isSet(window) ? showWindow(parser.value(window), parser.value(windowType)) : nullptr;
    kelvara::ControlInput input(player, shown.get());
    std::puts("ready");
    std::fflush(stdout);
    return application->exec();
}
