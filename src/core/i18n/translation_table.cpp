// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/localization.h"

namespace kelvara {

// Interim: tables are not wired in yet, so every text stays Russian.
std::optional<QString> Localization::translation(const QString&, AppLanguage) {
    return std::nullopt;
}

}  // namespace kelvara
