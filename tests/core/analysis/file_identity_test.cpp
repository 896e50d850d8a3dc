// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/file_identity.h"
#include "storage/track_resolver.h"
#include "test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <system_error>

#include <unistd.h>

using kelvara::FileIdentity;
using kelvara::TrackResolver;
using kelvara::WaveformError;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class FileIdentityTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }

    kelvara::testing::TestHome home;
    QTemporaryDir dir;
};

TEST_F(FileIdentityTest, SameFileSameKeyRewrittenFileNewKey) {
    writeFile(file(QStringLiteral("song.mp3")), "first version");
    const FileIdentity first = FileIdentity::of(file(QStringLiteral("song.mp3")));
    EXPECT_EQ(FileIdentity::of(file(QStringLiteral("song.mp3"))), first);
    EXPECT_EQ(FileIdentity::of(file(QStringLiteral("song.mp3"))).key(), first.key());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{64}$")).match(first.key()).hasMatch());
    EXPECT_EQ(first.size, 13u);
    EXPECT_GT(first.modified, 1.6e9);
    EXPECT_NE(first.inode, 0u);
    EXPECT_EQ(first.schema, 3);

    // Rewritten in place with the same size: only the modification time tells them apart.
    writeFile(file(QStringLiteral("song.mp3")), "other version");
    const FileIdentity second = FileIdentity::of(file(QStringLiteral("song.mp3")));
    EXPECT_EQ(second.size, first.size);
    EXPECT_NE(second.key(), first.key());
}

TEST_F(FileIdentityTest, LinksLeadToTheirTargetAndPathsAreStandardised) {
    writeFile(file(QStringLiteral("target.flac")), "audio");
    ASSERT_TRUE(QFile::link(file(QStringLiteral("target.flac")), file(QStringLiteral("link.flac"))));
    const FileIdentity target = FileIdentity::of(file(QStringLiteral("target.flac")));
    EXPECT_EQ(FileIdentity::of(file(QStringLiteral("link.flac"))), target);
    EXPECT_EQ(FileIdentity::of(dir.path() + QStringLiteral("/./sub/../target.flac")), target);
    EXPECT_EQ(FileIdentity::of(dir.path() + QStringLiteral("/no-such-folder/../target.flac")), target);
    EXPECT_THROW(FileIdentity::of(file(QStringLiteral("missing.flac"))), std::system_error);
}

TEST_F(FileIdentityTest, KeyHashesTheSortedCompactJson) {
    const FileIdentity identity{QStringLiteral("/music/a.mp3"), 1234, 1.5, 0.25, 99, 3};
    EXPECT_EQ(QJsonDocument(identity.toJson()).toJson(QJsonDocument::Compact),
              QByteArray(R"({"created":0.25,"inode":99,"modified":1.5,"path":"/music/a.mp3","schema":3,"size":1234})"));
    EXPECT_EQ(FileIdentity::fromJson(identity.toJson()), identity);

    FileIdentity huge = identity;
    huge.inode = 0xFFFF'FFFF'FFFF'FFF0u;
    EXPECT_EQ(FileIdentity::fromJson(huge.toJson()), huge);
    EXPECT_FALSE(FileIdentity::fromJson(QJsonObject{{QStringLiteral("path"), QStringLiteral("/music/a.mp3")}}));
}

TEST_F(FileIdentityTest, ResolverChecksThePath) {
    const auto message = [](const QString& path) {
        try {
            TrackResolver::resolve(path);
        } catch (const WaveformError& error) {
            return error.text();
        }
        return QString();
    };
    EXPECT_EQ(message(QString()), kelvara::L("Music не сообщает путь к файлу. Для потокового или DRM-трека waveform "
                                              "недоступен. Если это ваш локальный файл, выберите его вручную."));
    const QString unavailable =
        kelvara::L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.");
    EXPECT_EQ(message(file(QStringLiteral("missing.mp3"))), unavailable);

    writeFile(file(QStringLiteral("real.ogg")), "x");
    ASSERT_TRUE(QFile::link(file(QStringLiteral("real.ogg")), file(QStringLiteral("alias.ogg"))));
    EXPECT_EQ(TrackResolver::resolve(file(QStringLiteral("alias.ogg"))),
              QFileInfo(file(QStringLiteral("real.ogg"))).canonicalFilePath());

    if (::geteuid() != 0) {  // root reads everything
        QFile::setPermissions(file(QStringLiteral("real.ogg")), QFileDevice::WriteOwner);
        EXPECT_EQ(message(file(QStringLiteral("real.ogg"))), unavailable);
    }
}

}  // namespace
