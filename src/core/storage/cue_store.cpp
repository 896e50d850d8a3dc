// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/cue_store.h"

#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/application_support.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace kelvara {

namespace {

WaveformError unsupportedFormat() { return WaveformError::unavailable(L("Файл меток имеет неподдерживаемый формат")); }

bool acceptable(const CuePoint& cue) {
    return std::isfinite(cue.seconds) && cue.seconds >= 0 && cue.color >= 0 && cue.color < CuePoint::paletteSize;
}

std::vector<CuePoint> decodeCues(const QJsonValue& value) {
    if (!value.isArray()) {
        throw unsupportedFormat();
    }
    std::vector<CuePoint> cues;
    for (const QJsonValue& item : value.toArray()) {
        std::optional<CuePoint> cue = CuePoint::fromJson(item);
        if (!cue || !acceptable(*cue)) {
            throw unsupportedFormat();
        }
        cues.push_back(std::move(*cue));
    }
    return cues;
}

CueTracks decode(const QByteArray& bytes) {
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    const QJsonObject archive = document.object();
    const QJsonValue version = archive.value(QStringLiteral("version"));
    const QJsonValue tracks = archive.value(QStringLiteral("tracks"));
    if (!document.isObject() || !version.isDouble() || version.toDouble() != CueStore::formatVersion || !tracks.isObject()) {
        throw unsupportedFormat();
    }
    CueTracks result;
    const QJsonObject byTrack = tracks.toObject();
    for (auto it = byTrack.begin(); it != byTrack.end(); ++it) {
        result.emplace(it.key(), decodeCues(it.value()));
    }
    return result;
}

QByteArray encode(const CueTracks& tracks) {
    QJsonObject byTrack;
    for (const auto& [trackID, cues] : tracks) {
        QJsonArray array;
        for (const CuePoint& cue : cues) {
            array.append(cue.toJson());
        }
        byTrack.insert(trackID, array);
    }
    const QJsonObject archive{{QStringLiteral("tracks"), byTrack}, {QStringLiteral("version"), CueStore::formatVersion}};
    return QJsonDocument(archive).toJson(QJsonDocument::Indented);
}

}  // namespace

CueStore::CueStore() : CueStore(applicationSupportFile(QStringLiteral("Cues.json"))) {}

CueStore::CueStore(QString file) : file_(std::move(file)) {}

CueTracks CueStore::load() { return file_.load<CueTracks>(decode); }

bool CueStore::save(const CueTracks& tracks) const { return file_.write(encode(tracks)); }

}  // namespace kelvara
