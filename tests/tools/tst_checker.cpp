// The checker's text logic without a window: the joined lines of a file, the line-break
// conversion and the save and rename that never lose a file.

#include "formats/text_codec.h"
#include "support/recording_messenger.h"
#include "support/small_disk.h"
#include "support/test_files.h"
#include "tools/checker_save.h"
#include "tools/checker_text.h"

#include <QtTest>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

int runCheckerWindowTests(int argc, char **argv);

namespace {

class CheckerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void joinedLines_data();
    void joinedLines();
    void longFileQuestion_data();
    void longFileQuestion();
    void savesKeepBreaksEncodingAndTheOldFile();
};

void CheckerTest::joinedLines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty file") << QString() << QString() << 0;
    QTest::newRow("last line without a break") << u"a\r\nb"_s << u"a\r\nb"_s << 2;
    QTest::newRow("LF, lone CR, empty line") << u"a\nb\rc\r\n\r\nd"_s << u"a\r\nb\r\nc\r\n\r\nd"_s << 5;
    QTest::newRow("LF CR is one break") << u"d\n\re\n\r\n\r"_s << u"d\r\ne\r\n"_s << 3;
}

void CheckerTest::joinedLines()
{
    QFETCH(QString, file);
    bool asked = false;
    const CheckerText out = joinFileLines(file, [&] { return asked = true; });
    QTEST(out.text, "shown");
    QTEST(int(out.lineCount), "lines");
    QVERIFY(!asked);
}

void CheckerTest::longFileQuestion_data()
{
    QTest::addColumn<int>("fileLines");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("shownLines");
    QTest::newRow("9999") << 9999 << true << 0 << 9999;
    QTest::newRow("10000, OK") << 10000 << true << 1 << 10000;
    QTest::newRow("25000, Cancel asks once") << 25000 << false << 1 << 25000;
}

void CheckerTest::longFileQuestion()
{
    QFETCH(int, fileLines);
    QFETCH(bool, stop);
    TestDir dir;
    const QString path = dir.write(u"long.dat"_s, QByteArray("1, 2\r\n").repeated(fileLines));
    int asked = 0;
    const std::optional<CheckerText> out = readCheckerFile(path, [&] {
        ++asked;
        return stop;
    });
    QVERIFY(out);
    QTEST(asked, "asked");
    QTEST(int(out->lineCount), "shownLines");
    QCOMPARE(out->text, QString(u"1, 2\r\n"_s.repeated(out->lineCount)).chopped(2));
}

void CheckerTest::savesKeepBreaksEncodingAndTheOldFile()
{
    TestDir dir;
    RecordingMessenger messages;
    const auto said = [](Msg id, const QStringList &args = {}) { return messageLine(programName(), id, args); };
    // A write the disk cannot take keeps the old file and says why.
    const QString old = dir.write(u"a.dat"_s, QByteArray("old\r\n"));
    bool saved = true;
    {
        FileSizeLimit full(8);  // checked after it ends, so that a failure can be logged to a file
        saved = saveCheckerText({old, old, u"longer than the disk takes"_s, TextEncoding::Utf8, false}, messages).saved;
    }
    QVERIFY(!saved);
    QCOMPARE(fileContents(old), "old\r\n");
    QCOMPARE(entryNames(dir.root()), QStringList{u"a.dat"_s});
    QCOMPARE(messages.lines, QStringList{said(Msg::SaveFailed, {old, systemReason(EFBIG)})});

    // A rename whose new file cannot be written keeps the opened file.
    const QString opened = dir.write(u"b.dat"_s, QByteArray("b\r\n"));
    const QString target = dir.path(u"nowhere/c.dat"_s);
    messages.lines.clear();
    QVERIFY(!saveCheckerText({opened, target, u"new"_s, TextEncoding::Utf8, true}, messages).saved);
    QCOMPARE(fileContents(opened), "b\r\n");
    QVERIFY(!QFile::exists(target));
    QCOMPARE(messages.lines, QStringList{said(Msg::SaveFailed, {target, systemReason(ENOENT)})});

    // Every break (CR LF, LF CR, LF) saved as CR LF, one after the last line; renaming to
    // the same file spelt another way is a plain save: no question, no deletion.
    messages.lines.clear();
    QVERIFY(saveCheckerText({old, old, u"1\r\n2\n\r"_s, TextEncoding::Utf8, false}, messages).saved);
    QCOMPARE(fileContents(old), "1\r\n2\r\n\r\n");
    QVERIFY(saveCheckerText({old, dir.root() + u"/./a.dat"_s, u"3"_s, TextEncoding::Utf8, true}, messages).saved);
    QCOMPARE(fileContents(old), "3\r\n");
    QVERIFY(messages.lines.isEmpty());

    // No file name, or a folder as the target: said at once, without asking to overwrite.
    QDir(dir.root()).mkdir(u"sub"_s);
    for (const QString &target : {dir.root() + u'/', dir.root() + u"/  "_s, dir.path(u"sub"_s)})
        QVERIFY(!saveCheckerText({old, target, u"4"_s, TextEncoding::Utf8, true}, messages).saved);
    QCOMPARE(messages.lines, (QStringList{said(Msg::FileNameNeeded), said(Msg::FileNameNeeded),
                                          said(Msg::SaveFailed, {dir.path(u"sub"_s), systemReason(EISDIR)})}));
    QCOMPARE(fileContents(old), "3\r\n");
    QVERIFY(QFileInfo(dir.path(u"sub"_s)).isDir());
    messages.lines.clear();

    // A Shift_JIS file saved under a new name: still Shift_JIS.
    const QString text = u"ﾌﾚｰﾑ 表示\n1, 2"_s;
    const QString path = dir.write(u"sjis.dat"_s, encodeText(text + u"\r\n"_s, TextEncoding::ShiftJis));
    QCOMPARE(readCheckerFile(path, {})->encoding, TextEncoding::ShiftJis);
    QVERIFY(saveCheckerText({path, dir.path(u"renamed.dat"_s), text, TextEncoding::ShiftJis, false}, messages).saved);
    QCOMPARE(fileContents(dir.path(u"renamed.dat"_s)), encodeText(u"ﾌﾚｰﾑ 表示\r\n1, 2\r\n"_s, TextEncoding::ShiftJis));

    // A character Shift_JIS cannot hold: asked; No writes nothing, Yes writes UTF-8.
    const QString korean = text + u" 한"_s;
    messages.yesNoAnswer = false;
    QVERIFY(!saveCheckerText({path, path, korean, TextEncoding::ShiftJis, false}, messages).saved);
    QCOMPARE(messages.lines, QStringList{said(Msg::SaveAsUtf8, {path})});
    QCOMPARE(fileContents(path), encodeText(text + u"\r\n"_s, TextEncoding::ShiftJis));
    messages.yesNoAnswer = true;
    const CheckerSaveResult asUtf8 = saveCheckerText({path, path, korean, TextEncoding::ShiftJis, false}, messages);
    QVERIFY(asUtf8.saved);
    QCOMPARE(asUtf8.encoding, TextEncoding::Utf8);
    QCOMPARE(fileContents(path), u"ﾌﾚｰﾑ 表示\r\n1, 2 한\r\n"_s.toUtf8());
}

} // namespace

int runCheckerTests(int argc, char **argv)
{
    CheckerTest t;
    const int failed = QTest::qExec(&t, argc, argv);
    return failed + runCheckerWindowTests(argc, argv);
}

#include "tst_checker.moc"
