// SPDX-License-Identifier: GPL-3.0-or-later
// The installer's digest of a runtime archive of the real one's size (67 MB; target: no slower
// than hashing the same file read in blocks, the baseline in the same run). The file is in the
// page cache after the first round, as it is right after its download.
#include "worker/archive_digest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kelvara;

namespace {

constexpr qint64 archiveBytes = 67'368'051;

struct Archive {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("python.tar.gz"));

    Archive() {
        QByteArray bytes(archiveBytes, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), archiveBytes / 4);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};

const Archive& archive() {
    static const Archive made;
    return made;
}

void hashReadInBlocks(benchmark::State& state) {
    const QString& path = archive().path;
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        benchmark::DoNotOptimize(hash.result());
    }
}
BENCHMARK(hashReadInBlocks)->Unit(benchmark::kMillisecond);

void archiveDigest(benchmark::State& state) {
    const QString& path = archive().path;
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvik::archiveDigest(path));
    }
}
BENCHMARK(archiveDigest)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
