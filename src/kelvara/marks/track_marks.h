// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_range.h"
#include "marks/store_writer.h"
#include "models/beat_grid.h"
#include "models/cue_point.h"
#include "storage/beat_grid_store.h"
#include "storage/cue_store.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace kelvara {

class MarksContext;

// The cues of every track and the manual beat grids, with their files. Both files are read
// once at start; every change rewrites the whole file on a worker. A file that failed to load
// is never written in this run: edits are refused, and storeNotice tells the user why.
class TrackMarks : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelvara::CueTracks cueTracks READ cueTracks NOTIFY cueTracksChanged)
    Q_PROPERTY(std::optional<QString> cueError READ cueError NOTIFY cueErrorChanged)
    Q_PROPERTY(kelvara::BeatGridMap gridOverrides READ gridOverrides NOTIFY gridOverridesChanged)
    Q_PROPERTY(std::optional<QString> gridError READ gridError NOTIFY gridErrorChanged)
    Q_PROPERTY(std::optional<QString> storeNotice READ storeNotice NOTIFY storeNoticeChanged)

public:
    explicit TrackMarks(const MarksContext& context, QObject* parent = nullptr);

    // Published fields.
    const CueTracks& cueTracks() const { return cueTracks_; }
    const std::optional<QString>& cueError() const { return cueError_; }
    const BeatGridMap& gridOverrides() const { return gridOverrides_; }
    const std::optional<QString>& gridError() const { return gridError_; }
    // Why the user's last edit was refused (its file could not be read), until dismissed.
    const std::optional<QString>& storeNotice() const { return storeNotice_; }
    void dismissStoreNotice();

    // Derived values.
    std::vector<CuePoint> cues() const;        // the current track's, by time
    QString gridKey() const;                   // the current track and its file
    std::optional<BeatGrid> beatGrid() const;  // manual for gridKey, else automatic in the range
    bool gridIsManual() const;

    // Cues.
    void addCue(double seconds);
    void updateCue(const CuePoint& cue, const QString& trackID);
    void removeCue(const CuePoint& cue, const QString& trackID);

    // Grids: sets (or with none removes) the current track's manual grid.
    void saveGrid(const std::optional<BeatGrid>& grid);

signals:
    void changed();
    void cueTracksChanged();
    void cueErrorChanged();
    void gridOverridesChanged();
    void gridErrorChanged();
    void storeNoticeChanged();

private:
    // The analysis' own grid and the range it was folded into, with the result.
    struct Fold {
        BeatGrid analysed;
        TempoRange range;
        BeatGrid folded;
    };

    std::optional<BeatGrid> automaticGrid() const;
    void loadStores();
    bool admitEdit(bool storeReadable, const std::optional<QString>& loadError);
    void saveCues();
    void saveGrids();
    void showCueFailure(const std::optional<QString>& failure);
    void showGridFailure(const std::optional<QString>& failure);

    const MarksContext& context_;
    CueTracks cueTracks_;
    std::optional<QString> cueError_;
    CueStore cueStore_;
    BeatGridMap gridOverrides_;
    std::optional<QString> gridError_;
    BeatGridStore gridStore_;
    std::optional<QString> storeNotice_;
    StoreWriter cueWriter_;
    StoreWriter gridWriter_;
    mutable std::optional<Fold> lastFold_;
};

}  // namespace kelvara
