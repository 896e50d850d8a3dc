// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_range.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace kelvara {

// The user settings of the window, its bridge child and the tools, one getter and setter per
// key: $XDG_CONFIG_HOME/local.kelvara/waveform.conf. The file is opened by name rather than
// through QCoreApplication, so it works before (or without) an application object, and its
// folder is looked up anew for every Settings, never once per process. A stored value of
// the wrong type reads as absent, and every write reaches the file at once.
class Settings {
public:
    Settings();

    static QString filePath();

    bool seekLocked() const;  // default true
    void setSeekLocked(bool locked);
    bool autoInstrumental() const;  // default true
    void setAutoInstrumental(bool on);
    bool showBeatGrid() const;  // default true
    void setShowBeatGrid(bool shown);
    bool snapToSquares() const;  // default true
    void setSnapToSquares(bool on);
    bool denseWindow() const;  // default false: the window has not been sized yet
    void setDenseWindow(bool dense);
    TempoRange tempoRange() const;  // default Auto, as is a name this version does not know
    void setTempoRange(TempoRange range);

    // Track ID → the audio file the user chose for it; empty when any value is not a text.
    std::map<QString, QString> fileOverrides() const;
    void setFileOverrides(const std::map<QString, QString>& overrides);

    // The followed player: its bus name after "org.mpris.MediaPlayer2."; absent (blank or
    // not stored) for the automatic choice, which the setter stores by removing the key.
    std::optional<QString> musicPlayer() const;
    void setMusicPlayer(const std::optional<QString>& suffix);

    // The interface language chosen, as a language id; applies from the next launch.
    std::optional<QString> language() const;
    void setLanguage(const QString& id);
    // The languages the platform's own texts follow, most preferred first.
    QStringList platformLanguages() const;
    void setPlatformLanguages(const QStringList& ids);

private:
    bool flag(const char* key, bool fallback) const;
    std::optional<QString> text(const char* key) const;
    void write(const char* key, const QVariant& value);

    QSettings file_;
};

}  // namespace kelvara
