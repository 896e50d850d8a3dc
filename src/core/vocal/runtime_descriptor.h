// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace kelvara {

// What starts the separation worker: runtime.json, one JSON object whose values are all
// strings. Other keys are allowed and ignored.
struct RuntimeDescriptor {
    QString python;  // absolute path of an executable interpreter
    QString models;  // passed to the worker unchanged

    // None for a missing or unreadable file, invalid JSON, anything but a string-only object,
    // a missing key, or a `python` that does not name an executable file.
    static std::optional<RuntimeDescriptor> read(const QString& path);
};

}  // namespace kelvara
