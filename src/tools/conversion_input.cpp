#include "tools/conversion_input.h"

#include "formats/messages.h"

#include <QHashFunctions>

#include <algorithm>

namespace nikra {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isBlankOrLineEnd(char c) { return isBlank(c) || c == '\r' || c == '\n'; }

// Line ends as ValueReader counts them: a LF, or a CR not followed by one. The text shown
// ends with a value, so a CR LF is never cut in two.
int lineEndsIn(std::string_view text)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n')))
            ++n;
    }
    return n;
}

} // namespace

BytesPieces::BytesPieces(QByteArray bytes, qsizetype pieceBytes)
    : bytes_(std::move(bytes)), piece_(std::max<qsizetype>(pieceBytes, 1))
{
}

bool BytesPieces::appendPiece(QByteArray &to)
{
    if (next_ >= bytes_.size())
        return false;
    const qsizetype n = std::min(piece_, bytes_.size() - next_);
    to.append(QByteArrayView(bytes_).sliced(next_, n));
    next_ += n;
    return true;
}

QString FilePieces::failure() const
{
    if (!file_.failure().isEmpty())
        return file_.failure();
    if (file_.changedWhileRead())
        return messageText(Msg::NotDecodable);
    // Read whole at opening, then shorter: what was read is not the file that was checked.
    return file_.cutShort() ? messageText(Msg::ChangedWhileRead) : QString();
}

PieceValues::PieceValues(TextPieces &text) : text_(text), reader_(std::string_view()) {}

bool PieceValues::takePiece()
{
    const qsizetype before = bytes_.size();
    if (!text_.appendPiece(bytes_)) {
        // The blanks and line ends still held end the text: they are no part of it.
        ended_ = true;
        bytes_.truncate(qsizetype(shown_));
        return false;
    }
    const QByteArrayView piece = QByteArrayView(bytes_).sliced(before);
    digest_.bytes += piece.size();
    digest_.hash = qHashBits(piece.data(), std::size_t(piece.size()), digest_.hash);
    std::size_t end = std::size_t(bytes_.size());
    while (end > shown_ && isBlankOrLineEnd(bytes_[qsizetype(end - 1)]))
        --end;
    if (end > shown_) {
        lineEnds_ += lineEndsIn(std::string_view(bytes_.constData() + shown_, end - shown_));
        anyValue_ = true;
        shown_ = end;
    }
    return true;
}

void PieceValues::takeWholeValue()
{
    const std::string_view shown(bytes_.constData(), shown_);
    if (ended_ || (reader_.position() <= wholeUpTo_ && wholeUpTo_ < shown_)
        || holdsWholeValue(shown, reader_.position()))
        return;
    // Drop what is read, keep the value begun, and add pieces until the value is whole.
    const std::size_t read = reader_.position();
    bytes_.remove(0, qsizetype(read));
    shown_ -= read;
    while (takePiece() && !holdsWholeValue(std::string_view(bytes_.constData(), shown_), 0)) {
    }
    reader_.moveTo(std::string_view(bytes_.constData(), shown_), 0);
    // A value that starts at or before a comma or a LF ends there at the latest, with all
    // that reading it looks at: values before the last one need no more checks.
    wholeUpTo_ = shown_;
    for (std::size_t i = shown_; i-- > 0;) {
        if (bytes_[qsizetype(i)] == ',' || bytes_[qsizetype(i)] == '\n') {
            wholeUpTo_ = i;
            break;
        }
    }
}

TextDigest PieceValues::finish()
{
    bytes_.remove(0, qsizetype(reader_.position()));
    shown_ -= std::min(shown_, reader_.position());
    // A pass that ends early reads on to count and digest the rest, keeping only what is
    // held back.
    while (!ended_) {
        bytes_.remove(0, qsizetype(shown_));
        shown_ = 0;
        takePiece();
    }
    reader_.moveTo(std::string_view(), 0);
    return digest_;
}

} // namespace nikra
