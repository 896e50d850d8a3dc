// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/vocal_resources.h"

#include "storage/resource_paths.h"
#include "vocal/instrumental_cache.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace kelvara {

namespace {

QString shippedFile(const QString& folder, const QString& name) {
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

}  // namespace

VocalResources VocalResources::standard() {
    return {InstrumentalCache::defaultDirectory(),
            userFolder() + QStringLiteral("/runtime.json"),
            ResourcePaths::vocals().value_or(QString()), ResourcePaths::decoder().value_or(QString())};
}

QString VocalResources::userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Kelvara/Vocals");
}

QString VocalResources::descriptor() const {
    if (QFileInfo::exists(userDescriptor)) {
        return userDescriptor;
    }
    return shippedFile(shippedFolder, QStringLiteral("VocalRuntime.json"));
}

QString VocalResources::script() const { return shippedFile(shippedFolder, QStringLiteral("separate.py")); }

}  // namespace kelvara
