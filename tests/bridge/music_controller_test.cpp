// SPDX-License-Identifier: GPL-3.0-or-later
// MusicController with the real bridge child, and with small scripts that stand in for a
// child misbehaving on the pipe.
#include "bridge_fixture.h"
#include "i18n/l.h"
#include "player/music_controller.h"
#include "stand_in_process.h"
#include "wait_until.h"

#include <QCoroTask>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <functional>
#include <random>
#include <unistd.h>

namespace kelvara::testing {
namespace {

// Process ids of this process's children that run kelvara, zombies included.
QList<pid_t> bridgeChildren() {
    QList<pid_t> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray line = stat.readAll();
        const qsizetype nameEnd = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');  // state, ppid, …
        if (line.contains("(kelvara)") && fields.size() > 1 && fields[1].toInt() == getpid()) {
            children.append(entry.toInt());
        }
    }
    return children;
}

void killAll(const QList<pid_t>& processes) {
    for (pid_t pid : processes) {
        ::kill(pid, SIGKILL);
    }
}

bool processEventsUntil(const std::function<bool()>& done, int milliseconds = 10000) {
    for (QDeadlineTimer deadline(static_cast<qint64>(milliseconds * slowdown())); !done(); QThread::msleep(1)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents();
    }
    return true;
}

void processEventsFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    processEventsUntil([&] { return deadline.hasExpired(); }, milliseconds + 1000);
}

// A default snapshot carrying only a link failure, whatever its description.
bool isLinkFailure(const MusicSnapshot& snapshot) {
    return snapshot.error && snapshot.error->startsWith(L("Ошибка связи с Music: {0}", QString())) &&
           snapshot == MusicSnapshot::failure(*snapshot.error);
}

MusicSnapshot childEnded() {
    return MusicSnapshot::failure(L("Ошибка связи с Music: {0}", L("Служебный процесс завершился")));
}

class MusicControllerTest : public BridgeFixture {
protected:
    ~MusicControllerTest() override { EXPECT_TRUE(processEventsUntil([] { return bridgeChildren().isEmpty(); })); }

    MusicSnapshot ask(MusicController& controller, const BridgeRequest& request) {
        return QCoro::waitFor(controller.request(request));
    }

    // A child made of a shell script; `body` runs with the child's arguments.
    QString fakeChild(const QByteArray& body) {
        const QString path = dir_.filePath(QStringLiteral("child%1").arg(++fakeChildren_));
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ncd \"" + dir_.path().toUtf8() + "\"\nsnap() { printf '{\"running\":true,\"id\":\"ab\",\"title\":\"%s\","
                     "\"artist\":\"\",\"album\":\"\",\"path\":\"\",\"duration\":1,\"position\":2,\"state\":\"playing\","
                     "\"volume\":50,\"muted\":false}' \"$1\"; }\n" + body + "\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir dir_;
    int fakeChildren_ = 0;
    StandInProcess player_{QStringLiteral("standin"), {QJsonObject{{"url", "file:///a.flac"}, {"title", "A"}, {"length", 300}}}};
};

TEST_F(MusicControllerTest, TheFirstRequestStartsTheChildAndLaterOnesReuseIt) {
    MusicController controller(QStringLiteral(KELVARA_EXECUTABLE));
    EXPECT_TRUE(bridgeChildren().isEmpty());
    EXPECT_EQ(ask(controller, BridgeRequest::snapshot()).title, "A");
    const QList<pid_t> children = bridgeChildren();
    EXPECT_EQ(children.size(), 1);
    EXPECT_EQ(ask(controller, BridgeRequest::snapshot()).title, "A");
    EXPECT_EQ(bridgeChildren(), children);
}

TEST_F(MusicControllerTest, RequestsOfSeveralCallersAreAnsweredInTheOrderTheyCame) {
    MusicController controller(QStringLiteral(KELVARA_EXECUTABLE));
    const QString id = ask(controller, BridgeRequest::snapshot()).id;
    QStringList order;
    const auto caller = [&](BridgeRequest request, QString name) -> QCoro::Task<MusicSnapshot> {
        MusicSnapshot reply = co_await controller.request(std::move(request));
        order.append(name);
        co_return reply;
    };
    auto seek = caller({BridgeAction::seek, id, 10}, QStringLiteral("seek"));
    auto invalid = caller({BridgeAction::seek, QStringLiteral("x"), 10}, QStringLiteral("invalid"));
    auto pause = caller({BridgeAction::pause, id, 0}, QStringLiteral("pause"));
    std::optional<MusicSnapshot> called;
    controller.submit(BridgeRequest::snapshot(), [&](MusicSnapshot reply) {
        order.append(QStringLiteral("callback"));
        called = reply;
    });
    EXPECT_NEAR(QCoro::waitFor(seek).position, 10, 0.05);
    EXPECT_EQ(QCoro::waitFor(invalid).error, L("Некорректная команда Music"));
    EXPECT_EQ(QCoro::waitFor(pause).state, PlaybackState::paused);
    EXPECT_TRUE(processEventsUntil([&] { return called.has_value(); }));
    EXPECT_EQ(called->state, PlaybackState::paused);
    EXPECT_EQ(order, QStringList({"seek", "invalid", "pause", "callback"}));
}

TEST_F(MusicControllerTest, AChildThatDiedBetweenRequestsIsReplacedSilently) {
    MusicController controller(QStringLiteral(KELVARA_EXECUTABLE));
    ask(controller, BridgeRequest::snapshot());
    const QList<pid_t> first = bridgeChildren();
    killAll(first);
    EXPECT_TRUE(processEventsUntil([] { return bridgeChildren().isEmpty(); }));  // noticed and reaped
    const MusicSnapshot reply = ask(controller, BridgeRequest::snapshot());
    EXPECT_FALSE(reply.error);
    EXPECT_EQ(reply.title, "A");
    EXPECT_NE(bridgeChildren(), first);
}

// Writing to a child that is gone but not yet noticed must give an error snapshot; a
// SIGPIPE would end this whole process instead.
TEST_F(MusicControllerTest, AChildKilledRightBeforeARequestGivesAnErrorNotACrash) {
    MusicController controller(QStringLiteral(KELVARA_EXECUTABLE));
    for (int round = 0; round < 10; ++round) {
        ASSERT_FALSE(ask(controller, BridgeRequest::snapshot()).error);
        killAll(bridgeChildren());
        QThread::msleep(20);  // dead, but no event has told the controller yet
        const MusicSnapshot reply = ask(controller, BridgeRequest::snapshot());
        EXPECT_TRUE(!reply.error || isLinkFailure(reply)) << reply.error.value_or("").toStdString();
    }
}

TEST_F(MusicControllerTest, KillingTheChildMidRequestAHundredTimesGivesOneSnapshotEach) {
    player_.block(60000);  // every status read now hangs until its child is killed
    std::mt19937 random(17);
    std::vector<int> deliveries(100, 0);
    std::vector<MusicSnapshot> replies(100);
    {
        MusicController controller(QStringLiteral(KELVARA_EXECUTABLE));
        for (size_t index = 0; index < deliveries.size(); ++index) {
            controller.submit(BridgeRequest::snapshot(), [&, index](MusicSnapshot reply) {
                ++deliveries[index];
                replies[index] = std::move(reply);
            });
            // Sometimes before the request reached the child, mostly while it waits.
            processEventsFor(int(random() % 25));
            killAll(bridgeChildren());
            ASSERT_TRUE(processEventsUntil([&] { return deliveries[index] > 0; }));
        }
        processEventsFor(50);
    }
    for (size_t index = 0; index < deliveries.size(); ++index) {
        EXPECT_EQ(deliveries[index], 1) << index;
        EXPECT_TRUE(isLinkFailure(replies[index])) << replies[index].error.value_or("").toStdString();
    }
}

TEST_F(MusicControllerTest, DestroyingTheControllerEndsTheChildAndAnswersWhoWaits) {
    player_.block(60000);
    auto controller = std::make_unique<MusicController>(QStringLiteral(KELVARA_EXECUTABLE));
    std::optional<MusicSnapshot> reply;
    controller->submit(BridgeRequest::snapshot(), [&](MusicSnapshot snapshot) { reply = snapshot; });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    processEventsFor(300);
    EXPECT_GE(ticks, 10);  // the thread went on while the child waited
    EXPECT_FALSE(reply);
    controller.reset();
    EXPECT_TRUE(bridgeChildren().isEmpty());  // killed and reaped at once
    EXPECT_TRUE(processEventsUntil([&] { return reply.has_value(); }));
    EXPECT_EQ(*reply, childEnded());
}

TEST_F(MusicControllerTest, AStuckChildIsKilledAfterTheTimeOutAndTheNextRequestGetsAFreshOne) {
    const int timeoutMs = static_cast<int>(2000 * slowdown());
    MusicController controller(QStringLiteral(KELVARA_EXECUTABLE), AppLanguage::current(), nullptr, timeoutMs);
    ASSERT_EQ(ask(controller, BridgeRequest::snapshot()).title, "A");
    const QList<pid_t> stuck = bridgeChildren();
    ASSERT_EQ(stuck.size(), 1);
    ::kill(stuck.first(), SIGSTOP);

    std::vector<MusicSnapshot> replies;
    for (int request = 0; request < 2; ++request) {  // one written to the child, one waiting
        controller.submit(BridgeRequest::snapshot(), [&](MusicSnapshot reply) { replies.push_back(std::move(reply)); });
    }
    ASSERT_TRUE(processEventsUntil([&] { return replies.size() == 2; }, 3 * timeoutMs));
    const MusicSnapshot stuckFailure =
        MusicSnapshot::failure(L("Ошибка связи с Music: {0}", L("Служебный процесс не отвечает")));
    EXPECT_EQ(replies, std::vector<MusicSnapshot>(2, stuckFailure));

    EXPECT_EQ(ask(controller, BridgeRequest::snapshot()).title, "A");
    EXPECT_TRUE(processEventsUntil([&] { return bridgeChildren().size() == 1 && !bridgeChildren().contains(stuck.first()); }))
        << "the stuck child is killed and reaped, not left a zombie";
}

TEST_F(MusicControllerTest, RepliesInPiecesOrSeveralAtOnceReachTheRightRequests) {
    MusicController pieces(fakeChild("while read -r line; do printf '{\"running\":true,'; sleep 0.05;"
                                     " snap | cut -c 17-; done"));
    const MusicSnapshot assembled = ask(pieces, BridgeRequest::snapshot());
    EXPECT_FALSE(assembled.error) << assembled.error.value_or("").toStdString();
    EXPECT_DOUBLE_EQ(assembled.volume, 50);

    MusicController coalesced(fakeChild("echo \"$@\" > arguments\nread -r line; printf '%s\\n%s\\n' \"$(snap first)\" \"$(snap second)\"\n"
                                        "while read -r line; do snap later; echo; done"),
                              AppLanguage::Case::Spanish);
    EXPECT_EQ(ask(coalesced, BridgeRequest::snapshot()).title, "first");
    EXPECT_EQ(ask(coalesced, BridgeRequest::snapshot()).title, "second");
    EXPECT_EQ(ask(coalesced, BridgeRequest::snapshot()).title, "later");
    QFile arguments(dir_.filePath(QStringLiteral("arguments")));
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_EQ(arguments.readAll(), "--music-bridge --language=es\n");
}

TEST_F(MusicControllerTest, ABrokenLinkIsReportedAndTheNextRequestStartsAFreshChild) {
    MusicController garbage(fakeChild("echo $$ >> starts\nwhile read -r line; do echo garbage; done"));
    const MusicSnapshot unreadable = ask(garbage, BridgeRequest::snapshot());
    EXPECT_TRUE(isLinkFailure(unreadable));
    EXPECT_TRUE(unreadable.error->contains(L("Некорректный JSON: {0}", QString())));
    EXPECT_TRUE(isLinkFailure(ask(garbage, BridgeRequest::snapshot())));
    QFile starts(dir_.filePath(QStringLiteral("starts")));
    ASSERT_TRUE(starts.open(QIODevice::ReadOnly));
    EXPECT_EQ(starts.readAll().count('\n'), 2);

    // A child that stops reading but lives on: the write fails, and must not raise SIGPIPE.
    MusicController deaf(fakeChild("read -r line; snap one; echo; exec 0<&- sleep 5"));
    EXPECT_EQ(ask(deaf, BridgeRequest::snapshot()).title, "one");
    QThread::msleep(100);
    EXPECT_TRUE(isLinkFailure(ask(deaf, BridgeRequest::snapshot())));

    MusicController quitting(fakeChild("read -r line; exit 0"));
    EXPECT_EQ(ask(quitting, BridgeRequest::snapshot()), childEnded());

    MusicController missing(dir_.filePath(QStringLiteral("no-such-program")));
    const MusicSnapshot launchFailed = ask(missing, BridgeRequest::snapshot());
    EXPECT_TRUE(isLinkFailure(launchFailed));
    EXPECT_NE(launchFailed, MusicSnapshot::failure(L("Ошибка связи с Music: {0}", QString())));

    // A position JSON cannot carry is refused here, and the child is not involved.
    MusicController unused(dir_.filePath(QStringLiteral("no-such-program")));
    EXPECT_EQ(ask(unused, {BridgeAction::seek, QStringLiteral("ab"), qInf()}),
              MusicSnapshot::failure(L("Некорректная команда Music"), 0));
}

}  // namespace
}  // namespace kelvara::testing
