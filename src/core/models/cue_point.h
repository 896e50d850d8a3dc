// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

namespace kelvara {

// A named, coloured marker at a time in a track.
struct CuePoint {
    static constexpr int paletteSize = 4;
    static constexpr qsizetype maximumLabelLength = 120;  // characters, as edited in the panel

    QUuid id;
    double seconds = 0;
    QString label;
    int color = 0;  // cue palette index 0…3 (cueColor)

    bool operator==(const CuePoint&) const = default;

    // The cue added to a track that already holds `existing` cues: a fresh id, the time
    // clamped to 0…duration, label "Метка n" (n = existing + 1) and the palette cycling
    // mint, orange, cyan, pink.
    static CuePoint numbered(double seconds, double duration, qsizetype existing);

    // The label to store after the user typed `typed` over `stored`: trimmed and cut to
    // 120 characters; none when nothing is left or nothing changed.
    static std::optional<QString> committedLabel(const QString& typed, const QString& stored);

    // The id as stored and shown to other programs: the upper-case UUID without braces.
    QString idText() const;

    // Keyed form {"id" (upper-case UUID), "seconds", "label", "color"}; reading needs all four
    // with their types (color an integer) and does not check ranges.
    QJsonObject toJson() const;
    static std::optional<CuePoint> fromJson(const QJsonValue& value);
};

}  // namespace kelvara
