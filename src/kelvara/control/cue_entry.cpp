// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/cue_entry.h"

#include <QDBusMetaType>

namespace kelvara {

CueEntry CueEntry::of(const CuePoint& cue) { return {cue.idText(), cue.seconds, cue.label, cue.color}; }

void CueEntry::registerType() {
    qDBusRegisterMetaType<CueEntry>();
    qDBusRegisterMetaType<QList<CueEntry>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const CueEntry& entry) {
    argument.beginStructure();
    argument << entry.id << entry.seconds << entry.label << entry.color;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, CueEntry& entry) {
    argument.beginStructure();
    argument >> entry.id >> entry.seconds >> entry.label >> entry.color;
    argument.endStructure();
    return argument;
}

}  // namespace kelvara
