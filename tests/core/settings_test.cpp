// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings.h"
#include "test_home.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using testing::TestHome;

// What another program (or an older version) may have left in the file.
void storeRaw(const char* key, const QVariant& value) {
    QSettings(Settings::filePath(), QSettings::IniFormat).setValue(QLatin1String(key), value);
}

QByteArray fileText() {
    QFile file(Settings::filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file follows the home of the moment, so a test (or a child started with another
// home) never writes into the user's own settings.
TEST(Settings, FileFollowsTheCurrentConfigHome) {
    (void)Settings().seekLocked();
    TestHome home;
    Settings().setSeekLocked(false);
    const QString expected = home.configHome() + QStringLiteral("/local.kelvara/waveform.conf");
    EXPECT_EQ(Settings::filePath(), expected);
    EXPECT_TRUE(fileText().contains("seekLocked=false"));
}

TEST(Settings, AbsentAndMistypedValuesReadAsTheDefaults) {
    TestHome home;
    Settings fresh;
    EXPECT_TRUE(fresh.seekLocked());
    EXPECT_TRUE(fresh.autoInstrumental());
    EXPECT_TRUE(fresh.showBeatGrid());
    EXPECT_TRUE(fresh.snapToSquares());
    EXPECT_FALSE(fresh.denseWindow());
    EXPECT_TRUE(fresh.tempoRange().isAuto());
    EXPECT_TRUE(fresh.fileOverrides().empty());
    EXPECT_FALSE(fresh.musicPlayer());
    EXPECT_FALSE(fresh.language());
    EXPECT_TRUE(fresh.platformLanguages().isEmpty());

    storeRaw("seekLocked", QStringLiteral("no"));
    storeRaw("showBeatGrid", 0);
    storeRaw("denseWindowV2", QStringLiteral("True"));
    storeRaw("tempoRange", QStringLiteral("85-170"));
    storeRaw("fileOverrides", QVariantMap{{QStringLiteral("ab"), QStringLiteral("/a.flac")}, {QStringLiteral("cd"), 7}});
    storeRaw("musicPlayer", QStringLiteral("   "));
    storeRaw("KelvaraLanguage", QStringList{QStringLiteral("de"), QStringLiteral("es")});
    Settings mistyped;
    EXPECT_TRUE(mistyped.seekLocked());
    EXPECT_TRUE(mistyped.showBeatGrid());
    EXPECT_FALSE(mistyped.denseWindow());
    EXPECT_TRUE(mistyped.tempoRange().isAuto()) << "not one of the choices";
    EXPECT_TRUE(mistyped.fileOverrides().empty()) << "one value that is not a text spoils the map";
    EXPECT_FALSE(mistyped.musicPlayer()) << "blank means the automatic choice";
    EXPECT_FALSE(mistyped.language());
}

TEST(Settings, WrittenValuesReadBackFromTheFileInItsPresentForm) {
    TestHome home;
    {
        Settings settings;
        settings.setSnapToSquares(false);
        settings.setDenseWindow(true);
        settings.setTempoRange(TempoRange{90});
        settings.setFileOverrides({{QStringLiteral("00ff"), QStringLiteral("/music/a b.flac")}});
        settings.setMusicPlayer(QStringLiteral("mpv"));
        settings.setLanguage(QStringLiteral("de"));
        settings.setPlatformLanguages({QStringLiteral("de")});
    }
    const QByteArray text = fileText();
    EXPECT_TRUE(text.contains("snapToSquares=false"));
    EXPECT_TRUE(text.contains("denseWindowV2=true"));
    EXPECT_TRUE(text.contains("tempoRange=90-180"));
    EXPECT_TRUE(text.contains("musicPlayer=mpv"));
    EXPECT_TRUE(text.contains("KelvaraLanguage=de"));

    const Settings read;
    EXPECT_FALSE(read.snapToSquares());
    EXPECT_TRUE(read.denseWindow());
    EXPECT_EQ(read.tempoRange(), TempoRange{90});
    EXPECT_EQ(read.fileOverrides(), (std::map<QString, QString>{{QStringLiteral("00ff"), QStringLiteral("/music/a b.flac")}}));
    EXPECT_EQ(read.musicPlayer(), QStringLiteral("mpv"));
    EXPECT_EQ(read.language(), QStringLiteral("de"));
    EXPECT_EQ(read.platformLanguages(), QStringList{QStringLiteral("de")});

    Settings().setMusicPlayer(std::nullopt);
    EXPECT_FALSE(Settings().musicPlayer());
    EXPECT_FALSE(fileText().contains("musicPlayer"));
}

}  // namespace
}  // namespace kelvara
