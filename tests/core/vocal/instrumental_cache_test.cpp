// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/instrumental_cache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using kelvara::InstrumentalCache;

namespace {

constexpr qint64 gib = qint64(1) << 30;

// A sparse file of `size` bytes modified `age` seconds before the others' reference time.
QString sparseFile(const QDir& folder, const QString& name, qint64 size, int age) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
    file.close();
    const struct timespec times[2] = {{1'700'000'000 - age, 0}, {1'700'000'000 - age, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    return path;
}

TEST(InstrumentalCacheTest, PruneDropsTheOldestBeyondFourGibibytesButNeverTheKeptFile) {
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const InstrumentalCache cache(dir.path());
    const QString keep = sparseFile(folder, QStringLiteral("a.wav"), gib, 50);
    sparseFile(folder, QStringLiteral("b.wav"), gib / 2, 40);
    sparseFile(folder, QStringLiteral("c.wav"), gib / 2, 40);
    sparseFile(folder, QStringLiteral("d.wav"), gib, 30);
    sparseFile(folder, QStringLiteral("e.wav"), 2 * gib, 20);
    sparseFile(folder, QStringLiteral("old.WAV"), 2 * gib, 90);
    folder.mkdir(QStringLiteral(".work-X"));
    cache.prune(keep);
    // 5 GiB of .wav (old.WAV is another kind): b and c go, and then 4 GiB is within the limit.
    QStringList left = folder.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral(".work-X"), QStringLiteral("a.wav"), QStringLiteral("d.wav"),
                                 QStringLiteral("e.wav"), QStringLiteral("old.WAV")}));
}

TEST(InstrumentalCacheTest, PruneKeepsTheKeptFileAloneAboveTheLimit) {
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const QString keep = sparseFile(folder, QStringLiteral("big.wav"), 5 * gib, 10);
    sparseFile(folder, QStringLiteral("newer.wav"), 1, 0);
    InstrumentalCache(dir.path()).prune(keep);
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList{QStringLiteral("big.wav")});
}

}  // namespace
