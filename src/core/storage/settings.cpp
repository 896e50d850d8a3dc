// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings.h"

#include <QStandardPaths>
#include <QVariantMap>

namespace kelvara {

namespace {

const char* const seekLockedKey = "seekLocked";
const char* const autoInstrumentalKey = "autoInstrumental";
const char* const showBeatGridKey = "showBeatGrid";
const char* const snapToSquaresKey = "snapToSquares";
const char* const denseWindowKey = "denseWindowV2";
const char* const tempoRangeKey = "tempoRange";
const char* const fileOverridesKey = "fileOverrides";
const char* const musicPlayerKey = "musicPlayer";
const char* const languageKey = "KelvaraLanguage";
const char* const platformLanguagesKey = "AppleLanguages";

}  // namespace

Settings::Settings() : file_(filePath(), QSettings::IniFormat) {}

QString Settings::filePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/local.kelvara/waveform.conf");
}

bool Settings::flag(const char* key, bool fallback) const {
    const QVariant value = file_.value(QLatin1String(key));
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    // The settings file keeps Booleans as the words true and false.
    const QString word = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (word == QLatin1String("true") || word == QLatin1String("false")) {
        return word == QLatin1String("true");
    }
    return fallback;
}

std::optional<QString> Settings::text(const char* key) const {
    const QVariant value = file_.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString();
}

void Settings::write(const char* key, const QVariant& value) {
    file_.setValue(QLatin1String(key), value);
    file_.sync();
}

bool Settings::seekLocked() const { return flag(seekLockedKey, true); }
void Settings::setSeekLocked(bool locked) { write(seekLockedKey, locked); }
bool Settings::autoInstrumental() const { return flag(autoInstrumentalKey, true); }
void Settings::setAutoInstrumental(bool on) { write(autoInstrumentalKey, on); }
bool Settings::showBeatGrid() const { return flag(showBeatGridKey, true); }
void Settings::setShowBeatGrid(bool shown) { write(showBeatGridKey, shown); }
bool Settings::snapToSquares() const { return flag(snapToSquaresKey, true); }
void Settings::setSnapToSquares(bool on) { write(snapToSquaresKey, on); }
bool Settings::denseWindow() const { return flag(denseWindowKey, false); }
void Settings::setDenseWindow(bool dense) { write(denseWindowKey, dense); }
TempoRange Settings::tempoRange() const { return TempoRange::fromStoredName(text(tempoRangeKey).value_or(QString())); }
void Settings::setTempoRange(TempoRange range) { write(tempoRangeKey, range.storedName()); }

std::map<QString, QString> Settings::fileOverrides() const {
    const QVariant value = file_.value(QLatin1String(fileOverridesKey));
    if (value.typeId() != QMetaType::QVariantMap) {
        return {};
    }
    std::map<QString, QString> overrides;
    const QVariantMap stored = value.toMap();
    for (auto entry = stored.cbegin(); entry != stored.cend(); ++entry) {
        if (entry.value().typeId() != QMetaType::QString) {
            return {};
        }
        overrides.emplace(entry.key(), entry.value().toString());
    }
    return overrides;
}

void Settings::setFileOverrides(const std::map<QString, QString>& overrides) {
    QVariantMap stored;
    for (const auto& [trackID, path] : overrides) {
        stored.insert(trackID, path);
    }
    write(fileOverridesKey, stored);
}

std::optional<QString> Settings::musicPlayer() const {
    const QString suffix = text(musicPlayerKey).value_or(QString()).trimmed();
    return suffix.isEmpty() ? std::nullopt : std::optional(suffix);
}

void Settings::setMusicPlayer(const std::optional<QString>& suffix) {
    if (suffix) {
        write(musicPlayerKey, *suffix);
    } else {
        file_.remove(QLatin1String(musicPlayerKey));
        file_.sync();
    }
}

std::optional<QString> Settings::language() const { return text(languageKey); }
void Settings::setLanguage(const QString& id) { write(languageKey, id); }

QStringList Settings::platformLanguages() const {
    const QVariant value = file_.value(QLatin1String(platformLanguagesKey));
    switch (value.typeId()) {
    case QMetaType::QStringList: return value.toStringList();
    // A list of one comes back from the file as a plain text.
    case QMetaType::QString: return {value.toString()};
    default: return {};
    }
}

void Settings::setPlatformLanguages(const QStringList& ids) { write(platformLanguagesKey, ids); }

}  // namespace kelvara
