#include "messages.h"

#include <array>
#include <utility>

namespace nikra {

namespace {

struct Entry {
    Msg id;
    const char16_t *text;
};

// The texts exactly as users know them (trailing and double blanks included).
constexpr std::array kTexts{
    Entry{Msg::FileMissing, u"ファイルが存在しません。ご確認ください。 "},
    Entry{Msg::XlgChoice, u"XLG は 0, 1 の中から選んで下さい。XLG=0 として描画を続行します。"},
    Entry{Msg::FntRange, u"FNT は 0から7までの整数から選んで下さい。FNT=0 として描画を継続します。"},
    Entry{Msg::YlgChoice, u"YLG は 0, 1 の中から選んで下さい。YLG=0 として描画を続行します。"},
    Entry{Msg::XndRange, u"XND は 0 から 6 までの整数から選んで下さい。XND=0 として描画を継続します。"},
    Entry{Msg::XdvZero, u"XDV は 0 以外の整数に設定して下さい。XDV=1 として描画を継続します。"},
    Entry{Msg::XmnIntegerPart, u"XMN の整数部は (7-XND) 桁以下の数字にして下さい。描画を中断します。"},
    Entry{Msg::XmxIntegerPart, u"XMX の整数部は (7-XND) 桁以下の数字にして下さい。描画を中断します。"},
    Entry{Msg::YndRange, u"YND は 0 から 6 までの整数から選んで下さい。YND=0 として描画を継続します。"},
    Entry{Msg::YdvZero, u"YDV は 0 以外の整数に設定して下さい。YDV=1 として描画を継続します。"},
    Entry{Msg::YmnIntegerPart, u"YMN の整数部は (7-YND) 桁以下の数字にして下さい。描画を中断します。"},
    Entry{Msg::YmxIntegerPart, u"YMX の整数部は (7-YND) 桁以下の数字にして下さい。描画を中断します。"},
    Entry{Msg::XlpChoice, u"XLP は  0, 1, 2 の中から選んで下さい。XLP=1 として描画を継続します。"},
    Entry{Msg::YlpChoice, u"YLP は  0, 1, 2 の中から選んで下さい。YLP=1 として描画を継続します。"},
    Entry{Msg::LtpNegative, u"LTP は 0以上の整数から選んで下さい。LTP=0 にして描画を継続します。"},
    Entry{Msg::RpsChoice, u"RPS は 0, 1, 2 の中から選んで下さい。RPS=0 にして描画を継続します。"},
    Entry{Msg::LogOfNonPositive, u"ゼロ，負数に対数値はありません。描画を中断します。"},
    Entry{Msg::DivideByZero, u"ゼロで割られます。IPL=0 にして描画を継続します。"},
    Entry{Msg::XNotMonotonic,
          u"ｘ軸のデータは昇順又は降順に配列して下さい。IPL=0 にして描画を継続します。"},
    Entry{Msg::FileUnreadable, u"ファイルを読み込めません（%1）。描画を中断します。"},
    Entry{Msg::TextNotDecoded,
          u"文字コードを判別できません（UTF-8 でもシフトJIS でもないか、BOM が重なっています）。描画を中断します。"},
    Entry{Msg::CommentNotDecoded,
          u"文字コードを判別できません（UTF-8 でもシフトJIS でもないか、BOM が重なっています）。コメントは描画しません。"},
    Entry{Msg::FieldNotNumber, u"%1 行目の %2 が数値として読めません。描画を中断します。"},
    Entry{Msg::FieldOutOfRange,
          u"%1 行目の %2 が範囲 (%3) を越えています。描画を中断します。"},
    Entry{Msg::FileEndsEarly,
          u"ファイルが %1 行しかありません。書式データには 18 行目まで必要です。描画を中断します。"},
    Entry{Msg::XRangeEmpty, u"XMN と XMX が等しく、ｘ軸の範囲がありません。描画を中断します。"},
    Entry{Msg::YRangeEmpty, u"YMN と YMX が等しく、ｙ軸の範囲がありません。描画を中断します。"},
    Entry{Msg::XTooManyDivisions,
          u"XDV の分割数は %1 以下にして下さい。描画を中断します。"},
    Entry{Msg::YTooManyDivisions,
          u"YDV の分割数は %1 以下にして下さい。描画を中断します。"},
    Entry{Msg::CurveTooLarge,
          u"IPL による曲線の点数が %1 を越えます。IPL=0 にして描画を継続します。"},
    Entry{Msg::CurveTooMuchWork,
          u"IPL による近似の計算量が多すぎます。IPL=0 にして描画を継続します。"},
    Entry{Msg::BlockCutShort,
          u"%1 点のデータブロックが %2 点でファイルの終わりになっています。書き込み中のファイルかもしれません。"},
    Entry{Msg::NotARegularFile, u"装置やパイプなどで、通常のファイルではありません"},
    Entry{Msg::PipeWithoutReader, u"読み出す相手のいないパイプです"},
    Entry{Msg::FileTooLarge, u"%1 バイトを越えるファイルです"},
    Entry{Msg::FileEmpty, u"空のファイルです"},
    Entry{Msg::NotDecodable, u"UTF-8 でもシフトJIS でもないか、BOM が重なっています"},
    Entry{Msg::ChangedWhileRead, u"読み込みの途中でファイルが変更されました"},
    Entry{Msg::WriteBackMissing, u"%1 が見つからないため、範囲を書き戻せませんでした。"},
    Entry{Msg::WriteBackUnreadable,
          u"%1 の %2 行目の値が読み取れないか、ずらした値が大きすぎるため、範囲を書き戻せませんでした。ファイルは変更していません。"},
    Entry{Msg::WriteBackNotRead,
          u"%1 を読み込めないため（%2）、範囲を書き戻せませんでした。ファイルは変更していません。"},
    Entry{Msg::WriteBackUnwritable,
          u"%1 に書き込めないため（%2）、範囲を書き戻せませんでした。ファイルは変更していません。"},
    Entry{Msg::NoPrinter, u"プリンタが設定されていません。既定のプリンタを設定してから印刷して下さい。"},
    Entry{Msg::PrintFailed, u"印刷できませんでした。プリンタの状態をご確認ください。"},
    Entry{Msg::SaveFailed, u"%1 に保存できませんでした（%2）。"},
    Entry{Msg::PageNotWritten, u"%1 に保存できませんでした（%2）。"},
    Entry{Msg::PageNotDrawn, u"ページを描けませんでした"},
    Entry{Msg::OneSetOnly, u"--pth を複数指定できるのは、PDF に描くとき（１組１ページ）だけです。"},
    Entry{Msg::PageNotAsShown,
          u"画面のページは、ファイルに問題が見つかる前に描いたものです。今のファイルから描くと、画面とは違うページになります。続けますか。"},
    Entry{Msg::BatchQuoteUnclosed, u"%1 行目の引用符が閉じていません"},
    Entry{Msg::BatchOutputRepeated, u"%1 行目と同じファイルに書くページです"},
    Entry{Msg::PageTooLong, u"ページを越えます。印刷は１ページ目だけになります。"},
    Entry{Msg::Welcome,
          u"初めまして、Nikraです。サンプルを描画しますので、最初に描画ボタンを押してみてください。"},
    // The checker.
    Entry{Msg::FileExists, u"ファイルが存在します。上書きしてもいいですか。"},
    Entry{Msg::ReadOver, u"ファイルが10000行を越えます。読込みを中断しますか。"},
    Entry{Msg::NewFolderPrompt, u"フォルダを作成します。フォルダ名は下記のものでいいでしょうか。"},
    Entry{Msg::FolderNotMade, u"すでにフォルダが存在します。"},
    Entry{Msg::FolderNotCreated, u"フォルダ %1 を作成できませんでした（%2）。"},
    Entry{Msg::FileNameNeeded, u"ファイル名を入力して下さい。何も保存していません。"},
    Entry{Msg::FileNotRead, u"%1 を読み込めませんでした（%2）。"},
    Entry{Msg::SaveOverUndecoded,
          u"%1 には UTF-8 としてもシフトJIS としても読めない部分があり、「\uFFFD」で表示しています。保存すると元のその部分は失われます。保存しますか。"},
    Entry{Msg::SaveAsUtf8,
          u"%1 にはシフトJISで書けない文字があります。UTF-8 で保存しますか。（［いいえ］なら保存しません。）"},
    Entry{Msg::OldFileKept, u"%1 を削除できませんでした。新しい名前のファイルは保存してあります。"},
    Entry{Msg::UnsavedChanges,
          u"%1 は変更されています。保存しますか。（［いいえ］なら変更を破棄し、［キャンセル］なら編集を続けます。）"},
    Entry{Msg::FolderNameInvalid,
          u"フォルダ名には「/」や「\\」や制御文字を含まない１つの名前を指定して下さい（空白だけの名前、「.」と「..」は使えません）。"},
    // Conversion.
    Entry{Msg::ConversionNoInput, u"変換するファイルを指定して下さい。"},
    Entry{Msg::ConversionInputUnreadable, u"%1 を読み込めません（%2）。ご確認ください。"},
    Entry{Msg::ConversionOutputUnwritable,
          u"%1 に書き込めないため（%2）、変換結果を保存できませんでした。"},
    Entry{Msg::ConversionNoLines, u"%1 にデータの行がないため、何も書き込みませんでした。"},
    Entry{Msg::ConversionTooFewBlocks,
          u"%1 のデータブロックが２つ未満のため、差分は書き込みませんでした。"},
    Entry{Msg::ConversionValueUnreadable,
          u"%1 の %2 行目の値が数値として読めないため、何も書き込みませんでした。"},
    Entry{Msg::ConversionDataEndsEarly,
          u"%1 の %2 行目の点数だけのデータがないため、何も書き込みませんでした。"},
    Entry{Msg::ConversionDifferenceTooLarge,
          u"%1 のブロックの差が単精度の範囲を越えるため、何も書き込みませんでした。"},
    // Data save and search.
    Entry{Msg::FolderExists, u"フォルダが存在します。上書きしてもいいですか。"},
    Entry{Msg::DataSaveInstruction,
          u"右フォルダ下にフォルダを作成しファイルを保存します。フォルダ名は下記のものでいいでしょうか。"},
    Entry{Msg::BadFolderName,
          u"「%1」はフォルダ名に使えません。空白だけの名前、「.」「..」、/ や \\ や制御文字を含む名前は使えません。何も保存していません。"},
    Entry{Msg::NotAFolder, u"%1 はフォルダではないため、保存できません。何も変更していません。"},
    Entry{Msg::SaveFolderNotMade, u"フォルダ %1 を作成できませんでした。保存を中止します。"},
    Entry{Msg::CopyFailed, u"%1 をコピーできませんでした（%2）。保存を中止します。元のフォルダは変更していません。"},
    Entry{Msg::SaveFileFailed, u"%1 を書き込めませんでした（%2）。保存を中止します。元のフォルダは変更していません。"},
    Entry{Msg::ReplaceFailed, u"%1 を置き換えられませんでした。元のフォルダはそのまま残っています。"},
    Entry{Msg::OldSetLeftAside,
          u"%1 を置き換えられませんでした。元のフォルダは %2 に残っています。"},
    Entry{Msg::OldFolderLeft, u"保存しましたが、置き換えた古いフォルダ %1 を削除できませんでした。"},
    Entry{Msg::ManifestUnchanged, u"変更なし"},
    Entry{Msg::ManifestChanged, u"変更されたファイル: %1"},
    Entry{Msg::ManifestMissing, u"見つからないファイル: %1"},
    Entry{Msg::ManifestAbsent, u"チェックサムファイル (Nikra.sha256) がありません"},
    Entry{Msg::LoadChangedSet,
          u"保存した後に変更されたか、見つからないファイルがあります。読み込んでもいいですか。"},
};

// Puts the arguments in place of %1, %2, ... in one pass, so that an argument holding "%2"
// (a file name may) stays as it is.
QString fillIn(const QString &text, const QStringList &args)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size() && text.at(i + 1).isDigit()) {
            const int n = text.at(i + 1).digitValue();
            if (n >= 1 && n <= args.size()) {
                out += args.at(n - 1);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

constexpr const char16_t *kOrdinals[] = {u"1st", u"2nd", u"3rd", u"4th", u"5th", u"6th"};

} // namespace

QString messageText(Msg id, const QStringList &args)
{
    for (const Entry &e : kTexts) {
        if (e.id == id) {
            return fillIn(QString::fromUtf16(e.text), args);
        }
    }
    return {};
}

QString slotTitle(FileKind kind, int slot)
{
    if (slot < 1 || slot > 6)
        return {};
    QString ordinal = QString::fromUtf16(kOrdinals[slot - 1]);
    if (kind == FileKind::CommentData && slot == 5)
        ordinal = QStringLiteral("5rd");
    switch (kind) {
    case FileKind::FormatData:
        return QStringLiteral(" %1 Format Data Error").arg(ordinal);
    case FileKind::GraphData:
        return QStringLiteral(" %1 Graph Data Error").arg(ordinal);
    case FileKind::CommentData:
        return QStringLiteral(" %1 Comment Data Error").arg(ordinal);
    }
    return {};
}

QString programName() { return QStringLiteral("Nikra"); }

QString pageTitle() { return QStringLiteral("Format Data Error"); }

QString readOverTitle() { return QStringLiteral("Read Over !"); }

Reply Messenger::askYesNoCancel(const QString &, const QString &) { return Reply::Cancel; }

void Messenger::fileProblem(int slot, const Diagnostic &problem, const QString &)
{
    warn(slotTitle(problem.kind, slot), messageText(problem.id, problem.args));
}

} // namespace nikra
