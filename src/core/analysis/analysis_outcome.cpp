// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_outcome.h"

#include "i18n/l.h"

namespace kelvara {

QString AnalysisOutcome::message() const {
    switch (kind) {
    case Kind::cancelled: return {};
    case Kind::failed: return L("Волна недоступна: {0}", error.value_or(QString()));
    case Kind::ready: break;
    }
    if (cached) {
        return L("Загружено из кэша");
    }
    return error ? L("Волна готова, но кэш не записан: {0}", *error) : L("Анализ готов · кэш сохранён");
}

}  // namespace kelvara
