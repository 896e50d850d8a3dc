// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_player.h"

#include <algorithm>

namespace kelvara {

namespace {

QString suffixOf(const QString& busName) { return busName.mid(static_cast<qsizetype>(qstrlen(MprisPlayer::prefix))); }

}  // namespace

QString MprisPlayer::suffix() const { return suffixOf(busName()); }

bool MprisPlayer::answersTo(const QString& wanted) const {
    return std::any_of(busNames.cbegin(), busNames.cend(), [&](const QString& name) { return suffixOf(name) == wanted; });
}

QString MprisPlayer::title() const { return identity.isEmpty() ? suffix() : identity; }

bool MprisPlayer::isPlayerName(const QString& busName) {
    return busName.startsWith(QLatin1String(prefix)) && busName.size() > static_cast<qsizetype>(qstrlen(prefix));
}

}  // namespace kelvara
