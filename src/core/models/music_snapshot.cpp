// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/music_snapshot.h"

#include "models/json_object_writer.h"
#include "models/json_record_reader.h"

namespace kelvara {

MusicSnapshot MusicSnapshot::failure(const QString& error, std::optional<qint64> errorCode) {
    MusicSnapshot snapshot;
    snapshot.error = error;
    snapshot.errorCode = errorCode;
    return snapshot;
}

QByteArray MusicSnapshot::toJson() const {
    JsonObjectWriter writer;
    writer.add("running", running)
        .add("id", id)
        .add("title", title)
        .add("artist", artist)
        .add("album", album)
        .add("path", path)
        .add("duration", duration)
        .add("position", position)
        .add("state", jsonName(state))
        .add("volume", volume)
        .add("muted", muted);
    if (error) {
        writer.add("error", *error);
    }
    if (errorCode) {
        writer.add("errorCode", *errorCode);
    }
    return writer.finish();
}

MusicSnapshot MusicSnapshot::fromJson(QByteArrayView json) {
    const JsonRecordReader reader(json);
    return MusicSnapshot{
        .running = reader.boolean("running"),
        .id = reader.text("id"),
        .title = reader.text("title"),
        .artist = reader.text("artist"),
        .album = reader.text("album"),
        .path = reader.text("path"),
        .duration = reader.number("duration"),
        .position = reader.number("position"),
        .state = playbackStateNamed(reader.text("state")),
        .volume = reader.number("volume"),
        .muted = reader.boolean("muted"),
        .error = reader.optionalText("error"),
        .errorCode = reader.optionalInteger("errorCode"),
    };
}

}  // namespace kelvara
