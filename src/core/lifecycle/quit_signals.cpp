// SPDX-License-Identifier: GPL-3.0-or-later
#include "lifecycle/quit_signals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kelvara {

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
std::array<int, 2> signalPipe{-1, -1};

constexpr std::array quitSignalNumbers{SIGTERM, SIGINT, SIGHUP};

void forwardSignal(int number) {
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe.data()) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
        emit quitRequested();
    });
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : quitSignalNumbers) {
        ::sigaction(number, &action, nullptr);
    }
}

QuitSignals::~QuitSignals() {
    for (const int number : quitSignalNumbers) {
        std::signal(number, SIG_DFL);
    }
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe = {-1, -1};
}

}  // namespace kelvara
