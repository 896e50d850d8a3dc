// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks/track_marks.h"

#include "i18n/l.h"
#include "marks/marks_context.h"
#include "publish.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

TrackMarks::TrackMarks(const MarksContext& context, QObject* parent)
    : QObject(parent),
      context_(context),
      cueWriter_([this](const std::optional<QString>& failure) { showCueFailure(failure); }),
      gridWriter_([this](const std::optional<QString>& failure) { showGridFailure(failure); }) {
    loadStores();
}

void TrackMarks::loadStores() {
    try {
        gridOverrides_ = gridStore_.load();
    } catch (const std::exception& error) {
        gridError_ = L("Не удалось прочитать сохранённые сетки: ") + QString::fromStdString(error.what());
    }
    try {
        cueTracks_ = cueStore_.load();
    } catch (const std::exception& error) {
        cueError_ = L("Не удалось прочитать метки. Исходный файл сохранён: {0}", QString::fromStdString(error.what()));
    }
}

void TrackMarks::dismissStoreNotice() {
    publish(*this, storeNotice_, std::optional<QString>(), &TrackMarks::storeNoticeChanged);
}

// --- Derived values ----------------------------------------------------------------------

std::vector<CuePoint> TrackMarks::cues() const {
    const auto entry = cueTracks_.find(context_.trackID());
    if (entry == cueTracks_.end()) {
        return {};
    }
    std::vector<CuePoint> sorted = entry->second;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const CuePoint& a, const CuePoint& b) { return a.seconds < b.seconds; });
    return sorted;
}

QString TrackMarks::gridKey() const { return context_.trackID() + QLatin1Char('|') + context_.filePath(); }

std::optional<BeatGrid> TrackMarks::beatGrid() const {
    const auto manual = gridOverrides_.find(gridKey());
    return manual != gridOverrides_.end() ? manual->second : automaticGrid();
}

// Halving reads the onset envelope of the whole track and the views ask for the grid at every
// change, so the last fold is kept while the analysis' grid and the range stay the same.
std::optional<BeatGrid> TrackMarks::automaticGrid() const {
    const std::optional<Waveform>& waveform = context_.waveform();
    if (!waveform || !waveform->beatGrid) {
        return std::nullopt;
    }
    const BeatGrid& analysed = *waveform->beatGrid;
    const TempoRange range = context_.tempoRange();
    if (!lastFold_ || lastFold_->analysed != analysed || lastFold_->range != range) {
        lastFold_ = Fold{analysed, range, range.fold(analysed, *waveform)};
    }
    return lastFold_->folded;
}

bool TrackMarks::gridIsManual() const { return gridOverrides_.contains(gridKey()); }

// An edit needs a track the player lets us control. One whose file could not be read is
// refused where the user acted, with the load error, since the panels may be closed.
bool TrackMarks::admitEdit(bool storeReadable, const std::optional<QString>& loadError) {
    if (!context_.canControl() || context_.duration() <= 0) {
        return false;
    }
    if (!storeReadable) {
        publish(*this, storeNotice_, loadError, &TrackMarks::storeNoticeChanged);
    }
    return storeReadable;
}

// --- Cues ------------------------------------------------------------------------------------

void TrackMarks::addCue(double seconds) {
    if (!std::isfinite(seconds) || !admitEdit(cueStore_.readable(), cueError_)) {
        return;
    }
    auto& track = cueTracks_[context_.trackID()];
    track.push_back(CuePoint::numbered(seconds, context_.duration(), static_cast<qsizetype>(track.size())));
    saveCues();
}

void TrackMarks::updateCue(const CuePoint& cue, const QString& trackID) {
    const auto entry = cueTracks_.find(trackID);
    if (entry == cueTracks_.end()) {
        return;
    }
    auto& track = entry->second;
    const auto stored = std::find_if(track.begin(), track.end(), [&](const CuePoint& c) { return c.id == cue.id; });
    if (stored == track.end()) {
        return;
    }
    *stored = cue;
    saveCues();
}

void TrackMarks::removeCue(const CuePoint& cue, const QString& trackID) {
    const auto entry = cueTracks_.find(trackID);
    if (entry != cueTracks_.end()) {
        std::erase_if(entry->second, [&](const CuePoint& c) { return c.id == cue.id; });
    }
    saveCues();
}

// The whole map goes to disk after every change; a store that could not be read keeps its file.
void TrackMarks::saveCues() {
    emit cueTracksChanged();
    emit changed();
    if (cueStore_.readable()) {
        cueWriter_.enqueue([store = cueStore_, tracks = cueTracks_] { (void)store.save(tracks); });
    }
}

void TrackMarks::showCueFailure(const std::optional<QString>& failure) {
    const std::optional<QString> error =
        failure ? std::optional<QString>(L("Метки пока не сохранены на диск: {0}", *failure)) : std::nullopt;
    publish(*this, cueError_, error, &TrackMarks::cueErrorChanged);
}

// --- Grids -------------------------------------------------------------------------------------

void TrackMarks::saveGrid(const std::optional<BeatGrid>& grid) {
    if (!admitEdit(gridStore_.readable(), gridError_)) {
        return;
    }
    if (grid && !grid->valid()) {
        publish(*this, gridError_, std::optional<QString>(L("BPM должен быть от 30 до 300")), &TrackMarks::gridErrorChanged);
        return;
    }
    BeatGridMap grids = gridOverrides_;
    if (grid) {
        grids[gridKey()] = *grid;
    } else {
        grids.erase(gridKey());
    }
    publish(*this, gridOverrides_, std::move(grids), &TrackMarks::gridOverridesChanged);
    // A valid grid answers the tempo complaint at once; the write reports on its own.
    publish(*this, gridError_, std::optional<QString>(), &TrackMarks::gridErrorChanged);
    saveGrids();
}

void TrackMarks::saveGrids() {
    gridWriter_.enqueue([store = gridStore_, grids = gridOverrides_] { (void)store.save(grids); });
}

void TrackMarks::showGridFailure(const std::optional<QString>& failure) {
    const std::optional<QString> error =
        failure ? std::optional<QString>(L("Сетка пока не сохранена: ") + *failure) : std::nullopt;
    publish(*this, gridError_, error, &TrackMarks::gridErrorChanged);
}

}  // namespace kelvara
