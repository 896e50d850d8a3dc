// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kelvara {

// The interface language. Fixed for the whole run of a process at its first use; a change
// stored in the settings takes effect at the next launch.
class AppLanguage {
public:
    enum class Case { Russian, English, German, Spanish };

    constexpr AppLanguage(Case value) : value_(value) {}

    static std::array<AppLanguage, 4> allCases();
    static std::optional<AppLanguage> fromId(const QString& id);

    // The saved choice when it is one of the four ids exactly, else the first preferred
    // tag whose primary subtag is one of them, else English.
    static AppLanguage resolve(const std::optional<QString>& saved, const QStringList& preferred);

    // The language of this process, computed once from the settings and the system locale.
    static AppLanguage current();

    // Fixes the language of this process to `language` unless it is already fixed. A child
    // process started by the window uses it so that it speaks the window's language even
    // when a different choice is pending for the next launch.
    static bool fixCurrent(AppLanguage language);

    // Called once by each program's entry point before any interface starts.
    static void prepareLaunch();

    QString id() const;    // "ru", "en", "de", "es"
    QString name() const;  // the language's own name, as shown in the menu
    Case value() const { return value_; }

    friend bool operator==(AppLanguage, AppLanguage) = default;

private:
    Case value_;
};

}  // namespace kelvara
