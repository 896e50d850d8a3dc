// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/app_language.h"
#include "i18n/l.h"
#include "i18n/localization.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using kelvara::AppLanguage;
using kelvara::Localization;

namespace {

// The user-visible texts the program is known to need; the tables may only grow.
constexpr qsizetype knownTextCount = 202;

// The runner's KELVARA_SOURCE_DIR, else the tree this file was compiled from.
QString sourceDir() {
    const QString fromRunner = qEnvironmentVariable("KELVARA_SOURCE_DIR");
    if (!fromRunner.isEmpty()) {
        return fromRunner;
    }
    return QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../..")));
}

struct TableEntry {
    QString translation;
    bool finished = true;
};

// key → entry, as written in i18n/kelvara_<id>.ts.
QMap<QString, TableEntry> readTable(AppLanguage language) {
    QFile file(sourceDir() + QStringLiteral("/i18n/kelvara_%1.ts").arg(language.id()));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QMap<QString, TableEntry> table;
    QString source;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const bool finished = xml.attributes().value(QLatin1StringView("type")).isEmpty();
            EXPECT_FALSE(table.contains(source)) << "twice in one table: " << source.toStdString();
            table.insert(source, {xml.readElementText(), finished});
        }
    }
    EXPECT_FALSE(xml.hasError()) << file.fileName().toStdString() << ": " << xml.errorString().toStdString();
    return table;
}

QSet<QString> placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("\\{\\d+\\}"));
    QSet<QString> found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        found.insert(it.next().captured());
    }
    return found;
}

// A call on a comment line (one starting with //, /* or *) quotes L("…") and is no key.
bool onCommentLine(const QString& code, qsizetype position) {
    const qsizetype lineStart = code.lastIndexOf(u'\n', position) + 1;
    const QStringView before = QStringView(code).mid(lineStart, position - lineStart).trimmed();
    return before.startsWith(u"//") || before.startsWith(u"/*") || before.startsWith(u"*");
}

// The text of a C++ string literal's body: \n is a line break, any other \x is x.
QString unescaped(const QString& literal) {
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        QChar c = literal[i];
        if (c == u'\\' && i + 1 < literal.size()) {
            c = literal[++i];
            c = c == u'n' ? QChar(u'\n') : c;
        }
        text += c;
    }
    return text;
}

// Every key passed to L as string literals (adjacent literals joined) in src/ and tools/.
QMap<QString, QString> sourceKeys() {
    static const QRegularExpression call(QStringLiteral(R"re((?<![\w])L\(\s*((?:"(?:[^"\\\n]|\\.)*"\s*)+))re"));
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    QMap<QString, QString> keys;  // key → file that uses it
    for (const char* folder : {"/src", "/tools"}) {
        QDirIterator files(sourceDir() + QString::fromLatin1(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            const QString code = QString::fromUtf8(file.readAll());
            for (auto calls = call.globalMatch(code); calls.hasNext();) {
                const QRegularExpressionMatch match = calls.next();
                if (onCommentLine(code, match.capturedStart())) {
                    continue;
                }
                QString key;
                for (auto parts = literal.globalMatch(match.captured(1)); parts.hasNext();) {
                    key += unescaped(parts.next().captured(1));
                }
                keys.insert(key, file.fileName());
            }
        }
    }
    return keys;
}

const std::array<AppLanguage, 3> foreignLanguages = {AppLanguage::Case::English, AppLanguage::Case::German,
                                                     AppLanguage::Case::Spanish};

}  // namespace

TEST(TranslationTablesTest, EveryEntryIsFinishedAndKeepsThePlaceholdersOfItsKey) {
    for (AppLanguage language : AppLanguage::allCases()) {
        for (const auto& [key, entry] : readTable(language).asKeyValueRange()) {
            const std::string where = language.id().toStdString() + ": " + key.toStdString();
            EXPECT_TRUE(entry.finished) << where;
            EXPECT_FALSE(entry.translation.trimmed().isEmpty()) << where;
            EXPECT_EQ(placeholders(entry.translation), placeholders(key)) << where;
        }
    }
}

TEST(TranslationTablesTest, ForeignTablesHoldTheSameKeysAndRussianOnlyOverridesKnownOnes) {
    const QList<QString> english = readTable(AppLanguage::Case::English).keys();
    EXPECT_GE(english.size(), knownTextCount);
    for (AppLanguage language : foreignLanguages) {
        EXPECT_EQ(readTable(language).keys(), english) << language.id().toStdString();
    }
    for (const auto& [key, entry] : readTable(AppLanguage::Case::Russian).asKeyValueRange()) {
        EXPECT_TRUE(english.contains(key)) << "override of an unknown text: " << key.toStdString();
        EXPECT_NE(entry.translation, key) << "override that changes nothing: " << key.toStdString();
    }
}

TEST(TranslationTablesTest, EveryTextInTheCodeHasATranslation) {
    const auto english = readTable(AppLanguage::Case::English);
    const auto keys = sourceKeys();
    for (const auto& [key, file] : keys.asKeyValueRange()) {
        EXPECT_TRUE(english.contains(key)) << "no translation for \"" << key.toStdString() << "\" in "
                                           << file.toStdString();
    }
}

// The binary answers from the tables embedded at build time; they must be the ones in i18n/,
// keys with leading or trailing spaces included.
TEST(TranslationTablesTest, EmbeddedTablesAnswerEveryEntry) {
    for (AppLanguage language : AppLanguage::allCases()) {
        for (const auto& [key, entry] : readTable(language).asKeyValueRange()) {
            EXPECT_EQ(Localization::translation(key, language), entry.translation)
                << language.id().toStdString() << ": " << key.toStdString();
        }
    }
}

TEST(TranslationLookupTest, GivesTheLanguagesTextTheRussianOverrideOrTheKey) {
    using C = AppLanguage::Case;
    const QString unavailable = QStringLiteral("Волна недоступна: {0}");
    EXPECT_EQ(Localization::text(unavailable, {QStringLiteral("x")}, C::German),
              QStringLiteral("Wellenform nicht verfügbar: x"));
    EXPECT_EQ(Localization::text(QStringLiteral("{0} из {1}"), {QStringLiteral("01:02"), QStringLiteral("03:04")}, C::Spanish),
              QStringLiteral("01:02 de 03:04"));

    const QString unknown = QStringLiteral("Такого текста нет ни в одной таблице {0}");
    EXPECT_EQ(Localization::translation(unknown, C::German), std::nullopt);
    EXPECT_EQ(Localization::text(unknown, {QStringLiteral("7")}, C::English),
              QStringLiteral("Такого текста нет ни в одной таблице 7"));

    // Russian names the player of this desktop instead of the one the key was written for.
    EXPECT_EQ(Localization::text(QStringLiteral("Ошибка связи с Music: {0}"), {QStringLiteral("x")}, C::Russian),
              QStringLiteral("Ошибка связи с плеером: x"));
    EXPECT_EQ(Localization::translation(unavailable, C::Russian), std::nullopt);

    // L answers in the language of the run, whichever that is here.
    EXPECT_EQ(kelvara::L("Волна недоступна: {0}", 5), Localization::text(unavailable, {QStringLiteral("5")}));
}
