// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "i18n/app_language.h"
#include "models/music_snapshot.h"
#include "private_bus.h"
#include "test_home.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace kelvara {

// Failures show the snapshot as its JSON line.
inline void PrintTo(const MusicSnapshot& snapshot, std::ostream* out) {
    try {
        *out << snapshot.toJson().toStdString();
    } catch (const std::exception& error) {
        *out << "unprintable snapshot: " << error.what();
    }
}

}  // namespace kelvara

namespace kelvara::testing {

// QProcess signals, QtDBus and coroutines need an application object; one serves all tests.
// The tests speak English, so every text they compare has gone through the tables, and the
// children they start are told the same language.
inline void ensureCoreApplication() {
    if (!QCoreApplication::instance()) {
        AppLanguage::fixCurrent(AppLanguage::Case::English);
        static int argc = 1;
        static char name[] = "bridge_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
}

// The persistent ID the bridge must give a track with this URL.
inline QString expectedId(const QString& key) {
    return QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).left(8).toHex());
}

// A fresh home and a private session bus for each test. Calls to the player name "locked"
// are refused by the bus, as a desktop refuses an application it does not trust.
class BridgeFixture : public ::testing::Test {
protected:
    BridgeFixture() { ensureCoreApplication(); }

    TestHome home_;
    PrivateBus bus_{QStringLiteral(
        "<policy context=\"default\"><deny send_destination=\"org.mpris.MediaPlayer2.locked\"/></policy>")};
};

}  // namespace kelvara::testing
