// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/beat_grid_store.h"

#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/application_support.h"

#include <QJsonDocument>

#include <algorithm>

namespace kelvara {

namespace {

WaveformError damagedFile() { return WaveformError::unavailable(L("Повреждён файл сеток")); }

BeatGridMap decode(const QByteArray& bytes) {
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject()) {
        throw damagedFile();
    }
    BeatGridMap grids;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<BeatGrid> grid = BeatGrid::fromJson(it.value());
        if (!grid || !grid->valid()) {
            throw damagedFile();
        }
        grids.emplace(it.key(), *grid);
    }
    return grids;
}

QByteArray encode(const BeatGridMap& grids) {
    QJsonObject object;
    for (const auto& [key, grid] : grids) {
        object.insert(key, grid.toJson());
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace

BeatGridStore::BeatGridStore() : BeatGridStore(applicationSupportFile(QStringLiteral("BeatGrids.json"))) {}

BeatGridStore::BeatGridStore(QString file) : file_(std::move(file)) {}

BeatGridMap BeatGridStore::load() { return file_.load<BeatGridMap>(decode); }

bool BeatGridStore::save(const BeatGridMap& grids) const {
    if (!readable()) {
        return false;
    }
    if (!std::all_of(grids.begin(), grids.end(), [](const auto& entry) { return entry.second.valid(); })) {
        throw WaveformError::unavailable(L("Некорректная сетка"));
    }
    return file_.write(encode(grids));
}

}  // namespace kelvara
