// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

namespace kelvara::testing {

// A gzip-compressed tar laid out like the Python runtime the installer downloads, whose
// python/bin/python3 is the shell: the "install script" it runs is a shell script of the test's.
// An interpreter dated in the future makes tar complain as it unpacks.
QByteArray shellRuntimeArchive(const QDateTime& modified = QDateTime::currentDateTime());

// Lower-case hexadecimal SHA-256, as the runtime's description holds it.
QString sha256Of(const QByteArray& data);

// Writes `folder`/PythonRuntime.json naming the archive's address and digest.
void describeRuntime(const QString& folder, const QUrl& url, const QString& sha256);

}  // namespace kelvara::testing
