// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/cue_point.h"

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace kelvara {

// A cue as the control interface carries it, the D-Bus structure (s id, d seconds, s label,
// i colour).
struct CueEntry {
    QString id;
    double seconds = 0;
    QString label;
    int color = 0;

    bool operator==(const CueEntry&) const = default;

    static CueEntry of(const CuePoint& cue);
    // Makes the structure and its list known to QtDBus; once, before either crosses the bus.
    static void registerType();
};

QDBusArgument& operator<<(QDBusArgument& argument, const CueEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, CueEntry& entry);

}  // namespace kelvara

Q_DECLARE_METATYPE(kelvara::CueEntry)
