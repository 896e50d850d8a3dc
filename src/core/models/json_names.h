// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <utility>

namespace kelvara {

// The names the values of an enumeration carry in the link's JSON records: one table per
// enumeration, read both ways. A name missing from the table reads as `fallback`, so a peer
// that sends something new is still understood.
template <typename Enum, std::size_t count>
struct JsonNames {
    std::array<std::pair<Enum, const char*>, count> entries;
    Enum fallback;

    QString nameOf(Enum value) const {
        for (const auto& [entry, name] : entries) {
            if (entry == value) {
                return QString::fromLatin1(name);
            }
        }
        return {};  // unreachable while every value has its row
    }

    Enum valueOf(QStringView name) const {
        for (const auto& [entry, text] : entries) {
            if (name == QLatin1String(text)) {
                return entry;
            }
        }
        return fallback;
    }
};

}  // namespace kelvara
