// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <variant>
#include <vector>

namespace kelvara {

// A list as osascript prints a result in source form (-s s): {true, "a \"b\"", 12.5, 3}.
// Texts, numbers and booleans are kept; any other value (missing value, a nested list …)
// is kept as an item that reads as none of them.
class AppleScriptList {
public:
    using Item = std::variant<std::monostate, QString, double, bool>;

    // The items of `source`; none when it is not a list.
    static AppleScriptList parse(QStringView source);

    qsizetype size() const { return static_cast<qsizetype>(items_.size()); }

    // Item `number`, counted from 1, when it exists and has that type.
    std::optional<QString> text(qsizetype number) const { return itemAs<QString>(number); }
    std::optional<double> number(qsizetype number) const { return itemAs<double>(number); }
    std::optional<bool> boolean(qsizetype number) const { return itemAs<bool>(number); }

private:
    template <typename T>
    std::optional<T> itemAs(qsizetype number) const {
        if (number < 1 || number > size()) {
            return std::nullopt;
        }
        const T* value = std::get_if<T>(&items_[static_cast<size_t>(number - 1)]);
        return value ? std::optional<T>(*value) : std::nullopt;
    }

    std::vector<Item> items_;
};

}  // namespace kelvara
