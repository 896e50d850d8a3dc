// SPDX-License-Identifier: GPL-3.0-or-later
#include "applescript_list.h"

#include <cmath>

namespace kelvara {

namespace {

// Reads one list from its opening brace; `at` ends after the closing brace.
class ListReader {
public:
    explicit ListReader(QStringView source) : source_(source) {}

    std::optional<std::vector<AppleScriptList::Item>> readList() {
        std::vector<AppleScriptList::Item> items;
        if (!take(u'{')) {
            return std::nullopt;
        }
        if (take(u'}')) {
            return items;
        }
        do {
            std::optional<AppleScriptList::Item> item = readItem();
            if (!item) {
                return std::nullopt;
            }
            items.push_back(std::move(*item));
        } while (take(u','));
        return take(u'}') ? std::optional(std::move(items)) : std::nullopt;
    }

    bool atEnd() {
        skipSpace();
        return at_ == source_.size();
    }

private:
    void skipSpace() {
        while (at_ < source_.size() && source_[at_].isSpace()) {
            ++at_;
        }
    }

    bool take(char16_t expected) {
        skipSpace();
        if (at_ < source_.size() && source_[at_] == expected) {
            ++at_;
            return true;
        }
        return false;
    }

    std::optional<AppleScriptList::Item> readItem() {
        skipSpace();
        if (at_ < source_.size() && source_[at_] == u'"') {
            return readText();
        }
        if (at_ < source_.size() && source_[at_] == u'{') {
            return readList() ? std::optional<AppleScriptList::Item>(std::monostate{}) : std::nullopt;
        }
        return readWord();
    }

    std::optional<AppleScriptList::Item> readText() {
        QString text;
        for (++at_; at_ < source_.size(); ++at_) {
            QChar c = source_[at_];
            if (c == u'"') {
                ++at_;
                return text;
            }
            if (c == u'\\' && at_ + 1 < source_.size()) {
                c = source_[++at_];
                c = c == u'n' ? QChar(u'\n') : c == u'r' ? QChar(u'\r') : c == u't' ? QChar(u'\t') : c;
            }
            text.append(c);
        }
        return std::nullopt;
    }

    // A number, true, false, or any other bare value up to the next comma or brace.
    std::optional<AppleScriptList::Item> readWord() {
        const qsizetype start = at_;
        while (at_ < source_.size() && source_[at_] != u',' && source_[at_] != u'}' && source_[at_] != u'{') {
            ++at_;
        }
        const QStringView word = source_.sliced(start, at_ - start).trimmed();
        if (word.isEmpty()) {
            return std::nullopt;
        }
        if (word == u"true" || word == u"false") {
            return word == u"true";
        }
        bool isNumber = false;
        const double number = word.toDouble(&isNumber);
        if (isNumber && std::isfinite(number)) {
            return number;
        }
        return std::monostate{};
    }

    QStringView source_;
    qsizetype at_ = 0;
};

}  // namespace

AppleScriptList AppleScriptList::parse(QStringView source) {
    ListReader reader(source);
    AppleScriptList list;
    if (auto items = reader.readList(); items && reader.atEnd()) {
        list.items_ = std::move(*items);
    }
    return list;
}

}  // namespace kelvara
