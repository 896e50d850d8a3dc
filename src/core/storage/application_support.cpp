// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/application_support.h"

#include <QStandardPaths>

namespace kelvara {

QString applicationSupportFile(const QString& name) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/local.kelvara.waveform/") + name;
}

}  // namespace kelvara
