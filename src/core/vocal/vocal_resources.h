// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kelvara {

// Where a vocal render finds what it needs. standard() is the program's own set; tests put
// stand-in workers and folders in its place.
struct VocalResources {
    QString cacheDirectory;
    QString userDescriptor;   // runtime.json written by the installer; wins when it exists
    QString shippedFolder;    // VocalRuntime.json and separate.py; empty when not found
    QString decoder;          // the program with the "--decode" command; empty when not found

    // $XDG_CACHE_HOME/local.kelvara.waveform/Instrumentals, $XDG_DATA_HOME/Kelvara/Vocals/
    // runtime.json and the installed resources. Needs a QCoreApplication.
    static VocalResources standard();

    // $XDG_DATA_HOME/Kelvara/Vocals: the installer's root, where it writes runtime.json.
    static QString userFolder();

    // The descriptor in force: the user's when that file exists, else the shipped one (empty
    // when there is none).
    QString descriptor() const;
    QString script() const;
};

}  // namespace kelvara
