// SPDX-License-Identifier: GPL-3.0-or-later
#include "user_defaults.h"

#include "storage/app_settings.h"

#include <QVariantMap>

namespace kelvara {

bool UserDefaults::readBool(const char* key, bool fallback) {
    const QVariant value = AppSettings::open()->value(QLatin1String(key));
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    // The settings file keeps Booleans as the words true and false.
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (text == QLatin1String("true") || text == QLatin1String("false")) {
        return text == QLatin1String("true");
    }
    return fallback;
}

void UserDefaults::writeBool(const char* key, bool value) {
    AppSettings::open()->setValue(QLatin1String(key), value);
}

std::map<QString, QString> UserDefaults::readStringMap(const char* key) {
    const QVariant value = AppSettings::open()->value(QLatin1String(key));
    if (value.typeId() != QMetaType::QVariantMap) {
        return {};
    }
    std::map<QString, QString> map;
    const QVariantMap stored = value.toMap();
    for (auto entry = stored.cbegin(); entry != stored.cend(); ++entry) {
        if (entry.value().typeId() != QMetaType::QString) {
            return {};
        }
        map.emplace(entry.key(), entry.value().toString());
    }
    return map;
}

void UserDefaults::writeStringMap(const char* key, const std::map<QString, QString>& map) {
    QVariantMap stored;
    for (const auto& [name, text] : map) {
        stored.insert(name, text);
    }
    AppSettings::open()->setValue(QLatin1String(key), stored);
}

}  // namespace kelvara
