// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <map>

namespace kelvara {

// Typed access to the user settings (AppSettings). A value of the wrong type reads as absent,
// and every write reaches the file at once.
class UserDefaults {
public:
    // The stored Boolean, else `fallback` when the key is absent or holds something else.
    static bool readBool(const char* key, bool fallback);
    static void writeBool(const char* key, bool value);

    // The stored dictionary of texts; empty when absent or when any value is not a text.
    static std::map<QString, QString> readStringMap(const char* key);
    static void writeStringMap(const char* key, const std::map<QString, QString>& map);
};

}  // namespace kelvara
