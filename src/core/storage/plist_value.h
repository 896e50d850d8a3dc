// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvara {

struct PlistEntry;

// One value of a property list, as far as the cache files use them: integers, reals, text,
// arrays of numbers and dictionaries that keep their keys in the order written. Anything
// else read from a file is Unsupported, so a record holding it fails to read as a whole.
class PlistValue {
public:
    enum class Kind { Integer, Real, Text, Numbers, Dict, Unsupported };

    PlistValue() = default;
    static PlistValue integer(std::int64_t value);
    static PlistValue real(double value);
    static PlistValue text(QString value);
    static PlistValue numbers(std::vector<double> values);
    static PlistValue dict();

    Kind kind() const { return kind_; }

    std::optional<std::int64_t> toInteger() const;
    // An integer or a real.
    std::optional<double> toNumber() const;
    std::optional<QString> toText() const;
    const std::vector<double>* toNumbers() const;
    const std::vector<PlistEntry>* toEntries() const;

    // The value under `key` in a dictionary; nullptr when absent or not a dictionary.
    const PlistValue* find(const QString& key) const;
    // Appends to a dictionary (the caller keeps keys unique).
    PlistValue& insert(const QString& key, PlistValue value);

private:
    Kind kind_ = Kind::Unsupported;
    std::int64_t integer_ = 0;
    double real_ = 0;
    QString text_;
    std::vector<double> numbers_;
    std::vector<PlistEntry> entries_;
};

struct PlistEntry {
    QString key;
    PlistValue value;
};

}  // namespace kelvara
