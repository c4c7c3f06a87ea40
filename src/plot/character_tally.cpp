#include "plot/character_tally.h"

#include <unordered_map>

namespace nikra {

CharacterTally::CharacterTally(const QString &text) : text_(text)
{
    constexpr std::size_t kSearchedInPlace = 32;
    std::unordered_map<char32_t, std::size_t> slot;
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text.at(i).unicode();
        qsizetype length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            length = 2;
        }
        i += length;
        // Most texts repeat a few characters: the last one is checked before the table.
        if (!counts_.empty() && counts_.back().first == c) {
            ++counts_.back().second;
            continue;
        }
        // A short list is searched in place, a long one through the table.
        std::size_t at = counts_.size();
        if (slot.empty()) {
            for (std::size_t k = 0; k < counts_.size(); ++k) {
                if (counts_[k].first == c) {
                    at = k;
                    break;
                }
            }
        } else if (const auto it = slot.find(c); it != slot.end()) {
            at = it->second;
        }
        if (at < counts_.size()) {
            ++counts_[at].second;
            continue;
        }
        counts_.emplace_back(c, 1);
        if (!slot.empty()) {
            slot.emplace(c, at);
        } else if (counts_.size() > kSearchedInPlace) {
            for (std::size_t k = 0; k < counts_.size(); ++k)
                slot.emplace(counts_[k].first, k);
        }
    }
}

} // namespace nikra
