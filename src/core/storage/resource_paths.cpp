// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/resource_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kelvara {

namespace {

constexpr int parentsSearched = 3;  // <build>/tests/core/analysis/<test> is the deepest

const QString& sharedFolder() {
    static const QString folder = QStringLiteral("share/kelvara");
    return folder;
}

bool isExecutable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

}  // namespace

std::optional<QString> ResourcePaths::root() {
    QDir folder(QCoreApplication::applicationDirPath());
    for (int level = 0; level <= parentsSearched; ++level) {
        if (folder.exists(sharedFolder())) {
            return folder.absolutePath();
        }
        if (!folder.cdUp()) {
            break;
        }
    }
    return std::nullopt;
}

std::optional<QString> ResourcePaths::vocals() {
    const auto base = root();
    if (!base) {
        return std::nullopt;
    }
    return *base + QLatin1Char('/') + sharedFolder() + QStringLiteral("/vocals");
}

std::optional<QString> ResourcePaths::decoder() {
    const QString name = QStringLiteral("kelvara-analyze");
    QStringList candidates{QCoreApplication::applicationDirPath() + QLatin1Char('/') + name};
    if (const auto base = root()) {
        candidates << *base + QStringLiteral("/bin/") + name
                   << *base + QStringLiteral("/tools/") + name + QLatin1Char('/') + name;
    }
    for (const QString& candidate : candidates) {
        if (isExecutable(candidate)) {
            return QFileInfo(candidate).absoluteFilePath();
        }
    }
    return std::nullopt;
}

}  // namespace kelvara
