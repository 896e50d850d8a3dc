// SPDX-License-Identifier: GPL-3.0-or-later
#include "models/bridge_request.h"

#include "models/json_object_writer.h"
#include "models/json_record_reader.h"

namespace kelvara {

QByteArray BridgeRequest::toJson() const {
    return JsonObjectWriter().add("action", jsonName(action)).add("trackID", trackID).add("position", position).finish();
}

BridgeRequest BridgeRequest::fromJson(QByteArrayView json) {
    const JsonRecordReader reader(json);
    return BridgeRequest{bridgeActionNamed(reader.text("action")), reader.text("trackID"), reader.number("position")};
}

}  // namespace kelvara
