// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>

namespace kelvara {

// One Kelvara per desktop session: two windows would poll the same player and fight over its
// seeks. The first owns the bus name; a later one asks it to raise its window instead.
class SingleInstance {
public:
    static constexpr const char* serviceName = "local.kelvara.Waveform";

    // Takes the name on `bus` for this process. When another process owns it, asks that one
    // to raise its window and answers false: this one should end. Without a bus, or when the
    // bus refuses the name with nobody owning it, the answer is true. With `alongside` (for
    // tests that run several windows) the name is taken only when free, and the answer is
    // always true.
    static bool claim(QDBusConnection bus, bool alongside);

private:
    // True when the owner of the name raised its window, or owns it and did not answer.
    static bool raiseOwner(QDBusConnection& bus);
};

}  // namespace kelvara
