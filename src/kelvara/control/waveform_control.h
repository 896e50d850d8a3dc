// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "control/cue_entry.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>

namespace kelvara {

class AppState;
class PropertiesAnnouncer;

// The program's control object on the session bus, for hotkeys, controllers and scripts. It
// adds no behaviour: every method calls the operation the window's own control calls, and a
// refusal the window would show comes back as a D-Bus error carrying the same text. Its
// exported members are its Q_PROPERTYs and public slots (a new one is exported and announced
// as it stands), described in data/local.kelvara.Waveform1.xml.
class WaveformControl : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "local.kelvara.Waveform1")
    Q_PROPERTY(QString TrackId READ trackId)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString FilePath READ filePath)
    Q_PROPERTY(QString State READ playbackState)
    Q_PROPERTY(double Position READ position)
    Q_PROPERTY(double Duration READ duration)
    Q_PROPERTY(double Bpm READ bpm)
    Q_PROPERTY(double GridOrigin READ gridOrigin)
    Q_PROPERTY(bool GridIsManual READ gridIsManual)
    Q_PROPERTY(QString AnalysisMessage READ analysisMessage)
    Q_PROPERTY(QList<kelvara::CueEntry> Cues READ cues)
    Q_PROPERTY(QList<double> ActiveLoop READ activeLoop)
    Q_PROPERTY(bool SeekLocked READ seekLocked WRITE setSeekLocked)
    Q_PROPERTY(int PinMode READ pinMode WRITE setPinMode)
    Q_PROPERTY(bool VocalReady READ vocalReady)
    Q_PROPERTY(bool VocalActive READ vocalActive)
    Q_PROPERTY(QString VocalStatus READ vocalStatus)

public:
    static constexpr const char* interfaceName = "local.kelvara.Waveform1";
    static constexpr const char* objectPath = "/local/kelvara/Waveform";
    // Read when wanted, as MPRIS players do with theirs: it changes all the time.
    static constexpr const char* unannouncedProperty = "Position";

    // Exports the object on `bus` at objectPath; false when that path is taken.
    WaveformControl(AppState& state, const QDBusConnection& bus, QObject* parent = nullptr);
    ~WaveformControl() override;

    QString trackId() const;
    QString title() const;
    QString filePath() const;
    QString playbackState() const;
    double position() const;
    double duration() const;
    double bpm() const;
    double gridOrigin() const;
    bool gridIsManual() const;
    QString analysisMessage() const;
    QList<CueEntry> cues() const;
    QList<double> activeLoop() const;
    bool seekLocked() const;
    void setSeekLocked(bool locked);
    int pinMode() const;
    // Steps through the window's pin cycle to `mode`; a link the window refuses stays at 1,
    // with the reason in the window's pin row. Other values are ignored.
    void setPinMode(int mode);
    bool vocalReady() const;
    bool vocalActive() const;
    QString vocalStatus() const;

public slots:
    void Seek(double seconds);
    void TogglePlayback();
    void AddCue();
    void AddCueAt(double seconds);
    void RemoveCue(const QString& id);
    void LoopSquare();
    void StopLoop();
    void ToggleVocals();
    void Raise();

signals:
    // Raise() was called: the window should come to the front.
    void raiseRequested();

private:
    bool refuseWithoutTrack();
    bool refuseInfinite(double seconds);

    AppState& state_;
    QDBusConnection bus_;
    bool exported_ = false;
    PropertiesAnnouncer* announcer_;
};

}  // namespace kelvara
