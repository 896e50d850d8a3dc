// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/properties_announcer.h"

#include <QDBusMessage>
#include <QMetaProperty>
#include <QStringList>

namespace kelvara {

PropertiesAnnouncer::PropertiesAnnouncer(const QObject& exported, const QDBusConnection& bus, QString path,
                                         QString interface, QString unannounced, QObject* parent)
    : QObject(parent),
      exported_(exported),
      bus_(bus),
      path_(std::move(path)),
      interface_(std::move(interface)),
      unannounced_(std::move(unannounced)),
      announced_(currentValues()) {
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &PropertiesAnnouncer::announce);
}

void PropertiesAnnouncer::schedule() {
    if (!pending_.isActive()) {
        pending_.start();
    }
}

QVariantMap PropertiesAnnouncer::currentValues() const {
    const QMetaObject* type = exported_.metaObject();
    QVariantMap values;
    for (int index = type->propertyOffset(); index < type->propertyCount(); ++index) {
        const QMetaProperty property = type->property(index);
        const QString name = QString::fromLatin1(property.name());
        if (name != unannounced_) {
            values.insert(name, property.read(&exported_));
        }
    }
    return values;
}

void PropertiesAnnouncer::announce() {
    const QVariantMap now = currentValues();
    QVariantMap changed;
    for (auto value = now.begin(); value != now.end(); ++value) {
        if (announced_.value(value.key()) != value.value()) {
            changed.insert(value.key(), value.value());
        }
    }
    announced_ = now;
    if (changed.isEmpty()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(path_, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface_ << changed << QStringList();
    bus_.send(signal);
}

}  // namespace kelvara
