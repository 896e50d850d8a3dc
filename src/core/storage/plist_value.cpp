// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/plist_value.h"

#include <utility>

namespace kelvara {

PlistValue PlistValue::integer(std::int64_t value) {
    PlistValue result;
    result.kind_ = Kind::Integer;
    result.integer_ = value;
    return result;
}

PlistValue PlistValue::real(double value) {
    PlistValue result;
    result.kind_ = Kind::Real;
    result.real_ = value;
    return result;
}

PlistValue PlistValue::text(QString value) {
    PlistValue result;
    result.kind_ = Kind::Text;
    result.text_ = std::move(value);
    return result;
}

PlistValue PlistValue::numbers(std::vector<double> values) {
    PlistValue result;
    result.kind_ = Kind::Numbers;
    result.numbers_ = std::move(values);
    return result;
}

PlistValue PlistValue::dict() {
    PlistValue result;
    result.kind_ = Kind::Dict;
    return result;
}

std::optional<std::int64_t> PlistValue::toInteger() const {
    return kind_ == Kind::Integer ? std::optional(integer_) : std::nullopt;
}

std::optional<double> PlistValue::toNumber() const {
    switch (kind_) {
    case Kind::Integer: return static_cast<double>(integer_);
    case Kind::Real: return real_;
    default: return std::nullopt;
    }
}

std::optional<QString> PlistValue::toText() const {
    return kind_ == Kind::Text ? std::optional(text_) : std::nullopt;
}

const std::vector<double>* PlistValue::toNumbers() const { return kind_ == Kind::Numbers ? &numbers_ : nullptr; }

const std::vector<PlistEntry>* PlistValue::toEntries() const { return kind_ == Kind::Dict ? &entries_ : nullptr; }

const PlistValue* PlistValue::find(const QString& key) const {
    if (kind_ != Kind::Dict) {
        return nullptr;
    }
    for (const PlistEntry& entry : entries_) {
        if (entry.key == key) {
            return &entry.value;
        }
    }
    return nullptr;
}

PlistValue& PlistValue::insert(const QString& key, PlistValue value) {
    entries_.push_back({key, std::move(value)});
    return entries_.back().value;
}

}  // namespace kelvara
