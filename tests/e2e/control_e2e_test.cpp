// SPDX-License-Identifier: GPL-3.0-or-later
// The kelvara program itself on a private session bus under X11, followed by its control
// interface: mpv plays a generated click track, and the tests drive the window through
// local.kelvara.Waveform as a hotkey or a script would.
#include "audio_files.h"
#include "control/cue_entry.h"
#include "window_manager.h"
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "mpv_player.h"
#include "parent_death.h"
#include "private_bus.h"
#include "storage/settings.h"
#include "test_home.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

namespace kelvara::testing {
namespace {

const QString service = QStringLiteral("local.kelvara.Waveform");
const QString objectPath = QStringLiteral("/local/kelvara/Waveform");
const QString interfaceName = QStringLiteral("local.kelvara.Waveform1");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override {
        application_ = std::make_unique<QCoreApplication>(argc_, argv_);
        CueEntry::registerType();
        // The program speaks the language stored in its settings; the tests compare its texts
        // with this process's.
        AppLanguage::fixCurrent(AppLanguage::Case::English);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[18] = "control_e2e_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new CoreApplication);

// The members of one interface of an introspection document, one line each and sorted:
// "property Cues a(sdsi) read", "method Seek(in d seconds)". Annotations and comments are
// documentation, not members.
QStringList interfaceMembers(const QString& xml, const QString& interface) {
    QStringList members;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString member;
    QStringList arguments;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto attribute = [&](const char* name) { return reader.attributes().value(QLatin1String(name)).toString(); };
        if (reader.isStartElement() && reader.name() == u"interface") {
            inside = attribute("name") == interface;
        } else if (inside && reader.isStartElement() && reader.name() == u"property") {
            members.append(QStringLiteral("property %1 %2 %3").arg(attribute("name"), attribute("type"), attribute("access")));
        } else if (inside && reader.isStartElement() && (reader.name() == u"method" || reader.name() == u"signal")) {
            member = reader.name().toString() + u' ' + attribute("name");
            arguments.clear();
        } else if (inside && reader.isStartElement() && reader.name() == u"arg") {
            arguments.append(QStringList{attribute("direction"), attribute("type"), attribute("name")}.join(u' ').trimmed());
        } else if (inside && reader.isEndElement() && (reader.name() == u"method" || reader.name() == u"signal")) {
            members.append(member + u'(' + arguments.join(QStringLiteral(", ")) + u')');
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    members.sort();
    return members;
}

// The X11 side of the program's window: found by its process, iconified as a window
// manager's minimise button does, and looked at.
class X11Window {
public:
    explicit X11Window(qint64 processId) : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        window_ = find(processId);
    }
    ~X11Window() { xcb_disconnect(connection_); }
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    bool found() const { return window_ != XCB_NONE; }

    bool viewable() const {
        xcb_get_window_attributes_reply_t* reply =
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window_), nullptr);
        const bool shown = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        free(reply);
        return shown;
    }

    void iconify() { askWindowManager("WM_CHANGE_STATE", 3); }  // IconicState
    // As a pager or a click on the window does; 2: the request comes from a pager.
    void activate() { askWindowManager("_NET_ACTIVE_WINDOW", 2); }
    // What a window manager sends when its close button is pressed.
    void close() {
        xcb_client_message_event_t message = clientMessage("WM_PROTOCOLS", atom("WM_DELETE_WINDOW"));
        xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    bool active() const {
        return cardinals(root_, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW) == std::vector<uint32_t>{window_};
    }

private:
    xcb_client_message_event_t clientMessage(const char* type, uint32_t argument) const {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = atom(type);
        message.data.data32[0] = argument;
        return message;
    }

    void askWindowManager(const char* request, uint32_t argument) {
        xcb_client_message_event_t message = clientMessage(request, argument);
        xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    xcb_atom_t atom(const char* name) const {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
        free(reply);
        return value;
    }

    std::vector<uint32_t> cardinals(xcb_window_t window, const char* property, xcb_atom_t type) const {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, atom(property), type, 0, 1024), nullptr);
        std::vector<uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        return values;
    }

    xcb_window_t find(qint64 processId) const {
        for (const uint32_t window : cardinals(root_, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW)) {
            if (cardinals(window, "_NET_WM_PID", XCB_ATOM_CARDINAL) == std::vector<uint32_t>{static_cast<uint32_t>(processId)}) {
                return window;
            }
        }
        return XCB_NONE;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
    xcb_window_t window_ = XCB_NONE;
};

// The PropertiesChanged signals of the control object, as they arrive.
class ChangeRecorder : public QObject {
    Q_OBJECT

public:
    explicit ChangeRecorder(QDBusConnection bus) {
        bus.connect(service, objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                    SLOT(record(QString, QVariantMap, QStringList)));
    }

    std::vector<QVariantMap> changes;

public slots:
    void record(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == interfaceName) {
            changes.push_back(changed);
        }
    }
};

class ControlEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs an X server: DISPLAY is not set (scripts/test starts Xvfb and exports it)";
        }
        Settings().setLanguage(QStringLiteral("en"));
        bus = std::make_unique<PrivateBus>();
    }

    void TearDown() override {
        kelvara.reset();
        player.reset();
        bus.reset();
    }

    void startPlayer() {
        const QString track = files.clickTrack(QStringLiteral("clicks.wav"), 120, 64, 0.5);
        player = std::make_unique<MpvPlayer>(*bus, QStringList{track});
    }

    static std::unique_ptr<QProcess> startKelvara(const QStringList& arguments = {}) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process->setProcessEnvironment(environment);
        endWithTestProcess(*process);
        process->start(qEnvironmentVariable("KELVARA_BUILD_DIR") + QStringLiteral("/src/kelvara/kelvara"), arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }

    // The program, started once the player runs, owning its name and following the track.
    void startWindow() {
        kelvara = startKelvara();
        ASSERT_TRUE(waitUntil([&] { return ownerProcessId() == kelvara->processId(); }, 20)) << "kelvara did not take its bus name";
        if (player) {
            ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("Duration")).toDouble() > 0; }, 20));
        }
    }

    // The program's window once the window manager shows it; none when it does not.
    std::unique_ptr<X11Window> shownWindow() const {
        std::unique_ptr<X11Window> window;
        const bool shown = waitUntil([&] {
            window = std::make_unique<X11Window>(kelvara->processId());
            return window->found() && window->viewable();
        }, 20);
        EXPECT_TRUE(shown) << "the window did not appear under the window manager";
        return shown ? std::move(window) : nullptr;
    }

    qint64 ownerProcessId() const {
        QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                          QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("GetConnectionUnixProcessID"));
        ask << service;
        const QDBusMessage reply = bus->connection().call(ask, QDBus::Block, 2000);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toLongLong() : -1;
    }

    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) const {
        QDBusMessage message = QDBusMessage::createMethodCall(service, objectPath, interfaceName, method);
        message.setAutoStartService(false);
        message.setArguments(arguments);
        return bus->connection().call(message, QDBus::Block, 5000);
    }

    QVariant property(const QString& name) const {
        QDBusMessage get = QDBusMessage::createMethodCall(service, objectPath, propertiesInterface, QStringLiteral("Get"));
        get.setAutoStartService(false);
        get << interfaceName << name;
        const QDBusMessage reply = bus->connection().call(get, QDBus::Block, 2000);
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    void setProperty(const QString& name, const QVariant& value) const {
        QDBusMessage set = QDBusMessage::createMethodCall(service, objectPath, propertiesInterface, QStringLiteral("Set"));
        set << interfaceName << name << QVariant::fromValue(QDBusVariant(value));
        const QDBusMessage reply = bus->connection().call(set, QDBus::Block, 2000);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    void setSeekLocked(bool locked) const { setProperty(QStringLiteral("SeekLocked"), locked); }

    QList<CueEntry> cues() const { return qdbus_cast<QList<CueEntry>>(property(QStringLiteral("Cues"))); }

    QList<double> activeLoop() const { return qdbus_cast<QList<double>>(property(QStringLiteral("ActiveLoop"))); }

    TestHome home;
    AudioFiles files;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<MpvPlayer> player;
    std::unique_ptr<QProcess> kelvara;
};

TEST_F(ControlEndToEnd, SecondInstanceRaisesTheFirstAndEnds) {
    const WindowManager windowManager;
    ASSERT_TRUE(windowManager.ready()) << "openbox did not take the screen";
    startWindow();
    const std::unique_ptr<X11Window> window = shownWindow();
    ASSERT_TRUE(window);
    window->iconify();
    ASSERT_TRUE(waitUntil([&] { return !window->viewable(); }, 10)) << "the window manager did not iconify the window";

    const std::unique_ptr<QProcess> second = startKelvara();
    ASSERT_TRUE(waitUntil([&] { return second->state() == QProcess::NotRunning; }, 20));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return window->viewable(); }, 10)) << "the first window was not raised";
    EXPECT_EQ(ownerProcessId(), kelvara->processId());
    EXPECT_EQ(kelvara->state(), QProcess::Running);

    // Beside it, a window for tests keeps running and leaves the name alone.
    const std::unique_ptr<QProcess> alongside = startKelvara({QStringLiteral("--new-instance")});
    EXPECT_FALSE(waitUntil([&] { return alongside->state() == QProcess::NotRunning; }, 1.5))
        << "ended with " << alongside->exitCode() << (alongside->exitStatus() == QProcess::CrashExit ? ", crashed" : "")
        << ", error " << alongside->error();
    EXPECT_EQ(ownerProcessId(), kelvara->processId());
    alongside->terminate();
    alongside->waitForFinished(5000);
}

TEST_F(ControlEndToEnd, IntrospectionMatchesTheInterfaceFile) {
    startWindow();
    QDBusMessage introspect = QDBusMessage::createMethodCall(service, objectPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                             QStringLiteral("Introspect"));
    const QDBusMessage reply = bus->connection().call(introspect, QDBus::Block, 2000);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();

    QFile file(qEnvironmentVariable("KELVARA_SOURCE_DIR") + QStringLiteral("/data/local.kelvara.Waveform1.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QStringList described = interfaceMembers(QString::fromUtf8(file.readAll()), interfaceName);
    EXPECT_GE(described.size(), 21);
    EXPECT_EQ(interfaceMembers(reply.arguments().value(0).toString(), interfaceName), described);
}

TEST_F(ControlEndToEnd, CommandsWithoutAPlayerAreRefusedWithTheWindowsTexts) {
    startWindow();
    for (const QString& command : {QStringLiteral("AddCue"), QStringLiteral("TogglePlayback"), QStringLiteral("LoopSquare"),
                                   QStringLiteral("ToggleVocals")}) {
        const QDBusMessage reply = call(command);
        EXPECT_EQ(reply.errorName(), QStringLiteral("local.kelvara.Waveform1.Error.NoTrack")) << command.toStdString();
        EXPECT_EQ(reply.errorMessage(), L("Music закрыта")) << command.toStdString();
    }
    const QDBusMessage infinite = call(QStringLiteral("AddCueAt"), {qInf()});
    EXPECT_EQ(infinite.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(call(QStringLiteral("StopLoop")).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(property(QStringLiteral("State")).toString(), QStringLiteral("stopped"));
    EXPECT_FALSE(property(QStringLiteral("VocalActive")).toBool());

    // Without a player there is no window to link with: the window stays pinned above others.
    setProperty(QStringLiteral("PinMode"), 2);
    EXPECT_EQ(property(QStringLiteral("PinMode")).toInt(), 1);
    setProperty(QStringLiteral("PinMode"), 0);
    EXPECT_EQ(property(QStringLiteral("PinMode")).toInt(), 0);
}

// The position the play line shows against mpv's own, read just before and after it: the
// shown position lies within 50 ms of mpv's at some moment between the two reads, as the
// median of 20 samples. A single sample may be late by a scheduling delay of the loaded
// machine, but never by a poll interval or more.
TEST_F(ControlEndToEnd, PositionFollowsThePlayerWhilePlaying) {
    startPlayer();
    startWindow();
    ASSERT_EQ(call(QStringLiteral("TogglePlayback")).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("State")).toString() == QStringLiteral("playing"); }, 10));
    QTest::qWait(1500);  // past the first poll of the playing player

    std::vector<double> differences;  // shown − mpv at the middle of the reads
    double widestReads = 0;
    for (int sample = 0; sample < 20; ++sample) {
        const double before = player->position();
        const double shown = property(QStringLiteral("Position")).toDouble();
        const double after = player->position();
        differences.push_back(shown - (before + after) / 2);
        widestReads = std::max(widestReads, after - before);
        EXPECT_LT(std::abs(differences.back()), 0.2 + (after - before) / 2) << "sample " << sample;
        QTest::qWait(500);
    }
    std::vector<double> sizes(differences.size());
    std::transform(differences.begin(), differences.end(), sizes.begin(), [](double d) { return std::abs(d); });
    std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
    EXPECT_LT(sizes[sizes.size() / 2], 0.05 + widestReads / 2);
    const auto largest = std::max_element(differences.begin(), differences.end(),
                                          [](double a, double b) { return std::abs(a) < std::abs(b); });
    const double mean = std::accumulate(differences.begin(), differences.end(), 0.0) / static_cast<double>(differences.size());
    std::cout << "Position minus mpv's over 20 samples in 10 s: mean " << mean * 1000 << " ms, largest " << *largest * 1000
              << " ms; the reads took up to " << widestReads * 1000 << " ms\n";
}

TEST_F(ControlEndToEnd, AddCueStoresItAndAnnouncesTheNewList) {
    startPlayer();
    startWindow();
    ChangeRecorder recorder(bus->connection());
    ASSERT_EQ(call(QStringLiteral("AddCueAt"), {12.5}).type(), QDBusMessage::ReplyMessage);

    ASSERT_TRUE(waitUntil([&] { return !recorder.changes.empty() && recorder.changes.back().contains(QStringLiteral("Cues")); }, 10));
    const auto announced = qdbus_cast<QList<CueEntry>>(recorder.changes.back().value(QStringLiteral("Cues")));
    ASSERT_EQ(announced.size(), 1);
    EXPECT_EQ(announced.front().seconds, 12.5);
    EXPECT_EQ(announced, cues());
    const QString id = announced.front().id;
    QFile store(home.dataHome() + QStringLiteral("/local.kelvara.waveform/Cues.json"));
    EXPECT_TRUE(waitUntil([&] { return store.open(QIODevice::ReadOnly) && store.readAll().contains(id.toUtf8()); }, 10))
        << "the cue did not reach " << store.fileName().toStdString();

    const QDBusMessage unknown = call(QStringLiteral("RemoveCue"), {QStringLiteral("no-such-cue")});
    EXPECT_EQ(unknown.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(unknown.errorMessage(), L("Метка не найдена: {0}", "no-such-cue"));
    ASSERT_EQ(call(QStringLiteral("RemoveCue"), {id.toLower()}).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(waitUntil([&] { return qdbus_cast<QList<CueEntry>>(recorder.changes.back().value(QStringLiteral("Cues"))).isEmpty(); }, 10));
    for (const QVariantMap& change : recorder.changes) {
        EXPECT_FALSE(change.contains(QStringLiteral("Position")));
    }
}

TEST_F(ControlEndToEnd, SeekMovesThePlayerOnlyWhenUnlocked) {
    startPlayer();
    startWindow();
    ASSERT_TRUE(property(QStringLiteral("SeekLocked")).toBool());
    const QDBusMessage refused = call(QStringLiteral("Seek"), {20.0});
    EXPECT_EQ(refused.errorName(), QStringLiteral("local.kelvara.Waveform1.Error.SeekLocked"));
    EXPECT_EQ(refused.errorMessage(), L("Перемотка выключена · снимите замок"));
    QTest::qWait(300);
    EXPECT_LT(player->position(), 1);

    setSeekLocked(false);
    ASSERT_EQ(call(QStringLiteral("Seek"), {20.0}).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(waitUntil([&] { return std::abs(player->position() - 20) < 0.1; }, 5)) << "mpv at " << player->position();
    EXPECT_EQ(call(QStringLiteral("Seek"), {qQNaN()}).errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
}

TEST_F(ControlEndToEnd, LoopSquareLoopsTheSquareUnderThePlayLine) {
    startPlayer();
    startWindow();
    ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("Bpm")).toDouble() > 0; }, 30))
        << property(QStringLiteral("AnalysisMessage")).toString().toStdString();
    const QDBusMessage locked = call(QStringLiteral("LoopSquare"));
    EXPECT_EQ(locked.errorName(), QStringLiteral("local.kelvara.Waveform1.Error.SeekLocked"));

    setSeekLocked(false);
    ASSERT_EQ(call(QStringLiteral("Seek"), {13.0}).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(waitUntil([&] { return std::abs(property(QStringLiteral("Position")).toDouble() - 13) < 0.1; }, 5));
    ASSERT_EQ(call(QStringLiteral("LoopSquare")).type(), QDBusMessage::ReplyMessage);

    const QList<double> loop = activeLoop();
    ASSERT_EQ(loop.size(), 2);
    const double bpm = property(QStringLiteral("Bpm")).toDouble();
    EXPECT_NEAR(loop[1] - loop[0], 16 * 60 / bpm, 1e-6) << "sixteen beats";
    EXPECT_LE(loop[0], 13);
    EXPECT_GT(loop[1], 13);
    const double origin = property(QStringLiteral("GridOrigin")).toDouble();
    const double squares = (loop[0] - origin) / (16 * 60 / bpm);
    EXPECT_NEAR(squares, std::round(squares), 1e-6) << "the loop starts on a square of the grid";

    ASSERT_EQ(call(QStringLiteral("StopLoop")).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(activeLoop().isEmpty());
}

// Every way the program is ended from outside while the instrumental plays — the window's
// close button, Ctrl+Q, SIGTERM at log-out or from a service manager — gives the track back to
// the player where the instrumental was, before the process exits. The instrumental is rendered
// once; the later starts find it in the cache.
class QuittingInTheInstrumental : public ControlEndToEnd {
protected:
    void SetUp() override {
        ControlEndToEnd::SetUp();
        player = std::make_unique<MpvPlayer>(*bus, QStringList{files.stereoSong(QStringLiteral("stereo.flac"), 30)});
    }

    // Starts the program, lets the track play and switches to the instrumental; answers how far
    // the instrumental had got just before returning.
    void playTheInstrumental(double& instrumentalAt) {
        startWindow();
        ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("VocalReady")).toBool(); }, 60))
            << property(QStringLiteral("VocalStatus")).toString().toStdString();
        ASSERT_EQ(call(QStringLiteral("TogglePlayback")).type(), QDBusMessage::ReplyMessage);
        ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("State")).toString() == QStringLiteral("playing"); }, 10));

        ASSERT_EQ(call(QStringLiteral("ToggleVocals")).type(), QDBusMessage::ReplyMessage);
        ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("VocalActive")).toBool(); }, 10));
        EXPECT_EQ(player->status(), QStringLiteral("Paused"));
        const double switchedAt = player->position();
        ASSERT_TRUE(waitUntil([&] { return property(QStringLiteral("Position")).toDouble() > switchedAt + 1; }, 10))
            << "the instrumental does not move on";
        instrumentalAt = property(QStringLiteral("Position")).toDouble();
    }

    void expectHandedBackAfterExit(double instrumentalAt) {
        ASSERT_TRUE(waitUntil([&] { return kelvara->state() == QProcess::NotRunning; }, 20)) << "the program did not end";
        EXPECT_EQ(kelvara->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(player->status(), QStringLiteral("Playing"));
        // Played on between the last read and the hand-back, but no further than the quit took.
        const double resumedAt = player->position();
        EXPECT_GE(resumedAt, instrumentalAt - 0.15);
        EXPECT_LT(resumedAt, instrumentalAt + 5);
    }

    // The program's window under the window manager, with the keyboard.
    std::unique_ptr<X11Window> focusedWindow() {
        std::unique_ptr<X11Window> window = shownWindow();
        if (!window) {
            return window;
        }
        window->activate();
        EXPECT_TRUE(waitUntil([&] { return window->active(); }, 10)) << "the window did not get the keyboard";
        return window;
    }

    // The next start plays from the beginning again, so the track does not run out.
    void rewindThePlayer() const {
        player->call(QStringLiteral("Pause"));
        player->setPosition(0);
    }
};

TEST_F(QuittingInTheInstrumental, CloseButtonCtrlQAndSigtermEachHandPlaybackBackBeforeTheProcessEnds) {
    const WindowManager windowManager;
    ASSERT_TRUE(windowManager.ready()) << "openbox did not take the screen";
    const std::vector<std::pair<const char*, std::function<void()>>> ways{
        {"SIGTERM", [&] { ::kill(static_cast<pid_t>(kelvara->processId()), SIGTERM); }},
        {"Ctrl+Q", [&] {
             if (focusedWindow()) {
                 AudioFiles::run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+q")});
             }
         }},
        {"the window's close button", [&] {
             const std::unique_ptr<X11Window> window = shownWindow();
             if (!window) {
                 return;
             }
             window->close();
             // Seen a few times under heavy load: the first close never reached the window (cause
             // not found). A user presses again; what is tested is what the press leads to.
             if (!waitUntil([&] { return kelvara->state() == QProcess::NotRunning; }, 4)) {
                 window->close();
             }
         }},
    };
    for (const auto& [way, quit] : ways) {
        SCOPED_TRACE(way);
        double instrumentalAt = 0;
        playTheInstrumental(instrumentalAt);
        if (HasFatalFailure()) {
            return;
        }
        quit();
        expectHandedBackAfterExit(instrumentalAt);
        if (HasFatalFailure()) {
            return;
        }
        rewindThePlayer();
    }
}

}  // namespace
}  // namespace kelvara::testing

#include "control_e2e_test.moc"
