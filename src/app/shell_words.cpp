#include "app/shell_words.h"

namespace nikra {

namespace {

class Splitter {
public:
    explicit Splitter(QStringView text) : text_(text) {}

    ShellLines split()
    {
        while (i_ < text_.size()) {
            const QChar c = text_[i_];
            if (isLineEnd(i_)) {
                endLine();
                skipLineEnd();
            } else if (c == u' ' || c == u'\t') {
                endWord();
                ++i_;
            } else if (c == u'#' && !inWord_) {
                while (i_ < text_.size() && !isLineEnd(i_))
                    ++i_;
            } else if (c == u'\\') {
                backslash();
            } else if (c == u'\'' || c == u'"') {
                if (!quoted(c)) {
                    out_.lines.clear();
                    return std::move(out_);
                }
            } else {
                append(c);
                ++i_;
            }
        }
        endLine();
        return std::move(out_);
    }

private:
    // A line end at i: LF, or CR LF (files written on Windows).
    bool isLineEnd(qsizetype i) const
    {
        return text_[i] == u'\n' || (text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n');
    }
    // Steps over the line end at i_, counting it.
    void skipLineEnd()
    {
        i_ += text_[i_] == u'\r' ? 2 : 1;
        ++line_;
    }

    void startWord()
    {
        if (!inWord_ && words_.isEmpty())
            firstWordLine_ = line_;
        inWord_ = true;
    }
    void append(QChar c)
    {
        startWord();
        word_ += c;
    }
    void endWord()
    {
        if (inWord_)
            words_.append(word_);
        word_.clear();
        inWord_ = false;
    }
    void endLine()
    {
        endWord();
        if (!words_.isEmpty())
            out_.lines.push_back({firstWordLine_, words_});
        words_.clear();
    }

    // A backslash outside quotes: the next character as it is; with a line end, the line
    // goes on on the next. At the very end of the text it stands for itself.
    void backslash()
    {
        ++i_;
        if (i_ >= text_.size()) {
            append(u'\\');
        } else if (isLineEnd(i_)) {
            skipLineEnd();
        } else {
            append(text_[i_]);
            ++i_;
        }
    }

    // A quoted part of a word from the quote at i_ to its closing quote. False when the text
    // ends first.
    bool quoted(QChar quote)
    {
        const int openedOn = line_;
        startWord();
        ++i_;
        while (i_ < text_.size() && text_[i_] != quote) {
            if (quote == u'"' && text_[i_] == u'\\' && i_ + 1 < text_.size()) {
                if (isLineEnd(i_ + 1)) {
                    ++i_;
                    skipLineEnd();
                    continue;
                }
                const QChar next = text_[i_ + 1];
                if (next == u'"' || next == u'\\' || next == u'$' || next == u'`') {
                    word_ += next;
                    i_ += 2;
                    continue;
                }
            }
            if (isLineEnd(i_)) {
                word_ += u'\n';
                skipLineEnd();
                continue;
            }
            word_ += text_[i_];
            ++i_;
        }
        if (i_ >= text_.size()) {
            out_.unclosedQuoteLine = openedOn;
            return false;
        }
        ++i_;
        return true;
    }

    QStringView text_;
    qsizetype i_ = 0;
    int line_ = 1;
    int firstWordLine_ = 1;
    QString word_;
    bool inWord_ = false;
    QStringList words_;
    ShellLines out_;
};

} // namespace

ShellLines splitShellLines(QStringView text) { return Splitter(text).split(); }

} // namespace nikra
