// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

namespace kelvara {

// org.mpris.MediaPlayer2 of the stand-in player.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)

public:
    MprisRootAdaptor(QObject* parent, QString identity) : QDBusAbstractAdaptor(parent), identity_(std::move(identity)) {}

    QString identity() const { return identity_; }
    bool yes() const { return true; }
    bool no() const { return false; }
    QStringList none() const { return {}; }

public slots:
    void Raise() {}
    void Quit();

private:
    QString identity_;
};

}  // namespace kelvara
