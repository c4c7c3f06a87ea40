#pragma once
// A text as a list of its distinct characters and how often each occurs. In an unkerned
// face whose glyphs never change with their neighbours, a text's width is the sum of its
// characters' widths, so it can be measured in a new font by looking up each distinct
// character once instead of laying out the whole text again (FontFactory::width says which
// characters keep their widths).

#include <QString>

#include <utility>
#include <vector>

namespace nikra {

class CharacterTally {
public:
    explicit CharacterTally(const QString &text);

    const QString &text() const { return text_; }
    // Each distinct character (a code point) with its count, in order of first appearance.
    const std::vector<std::pair<char32_t, qint64>> &counts() const { return counts_; }

private:
    QString text_;
    std::vector<std::pair<char32_t, qint64>> counts_;
};

} // namespace nikra
