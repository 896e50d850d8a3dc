// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell_runtime.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace kelvara::testing {

QByteArray shellRuntimeArchive(const QDateTime& modified) {
    QTemporaryDir folder;
    QDir().mkpath(folder.filePath(QStringLiteral("python/bin")));
    QFile interpreter(folder.filePath(QStringLiteral("python/bin/python3")));
    if (!interpreter.open(QIODevice::WriteOnly)) {
        return {};
    }
    interpreter.write("#!/bin/sh\nexec /bin/sh \"$@\"\n");
    interpreter.flush();
    interpreter.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    interpreter.setFileTime(modified, QFileDevice::FileModificationTime);
    interpreter.close();
    QProcess tar;
    tar.start(QStringLiteral("tar"), {QStringLiteral("-czf"), QStringLiteral("-"), QStringLiteral("-C"), folder.path(),
                                      QStringLiteral("python")});
    tar.waitForFinished(-1);
    return tar.readAllStandardOutput();
}

QString sha256Of(const QByteArray& data) {
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

void describeRuntime(const QString& folder, const QUrl& url, const QString& sha256) {
    QFile file(folder + QStringLiteral("/PythonRuntime.json"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("url"), url.toString()}, {QStringLiteral("sha256"), sha256}}).toJson());
    }
}

}  // namespace kelvara::testing
