// "nikra render --batch": a batch file's lines split into words as a shell splits them, and
// a batch run's result lines, messages and exit status (its pages against their single
// renders: tests/many_pages).

#include "app/shell_words.h"
#include "support/nikra_run.h"
#include "support/test_files.h"

#include <QFile>
#include <QtTest>

using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// Command lines as "N[word][word]", joined by " / ", or where a quote is left open.
QString shown(const nikra::ShellLines &split)
{
    if (split.unclosedQuoteLine != 0)
        return u"open quote on %1"_s.arg(split.unclosedQuoteLine);
    QStringList lines;
    for (const nikra::ShellLine &line : split.lines)
        lines.append(QString::number(line.number) + u'[' + line.words.join(u"]["_s) + u']');
    return lines.join(u" / "_s);
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linesAreSplitAsAShellSplitsThem_data();
    void linesAreSplitAsAShellSplitsThem();
    void linesThatCannotBeDrawnFailAlone();
};

void TestBatch::linesAreSplitAsAShellSplitsThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lines");
    QTest::newRow("words, blank lines") << u"a.png --slot 1\tf.dat\n\n  \nb.pdf"_s << u"1[a.png][--slot][1][f.dat] / 4[b.pdf]"_s;
    QTest::newRow("comments") << u"# all\na.png # rest 'x\nb#c.png\n"_s << u"2[a.png] / 3[b#c.png]"_s;
    QTest::newRow("single quotes") << u"'a b.png' 'it''s' '$x \\ \"' ''"_s << u"1[a b.png][its][$x \\ \"][]"_s;
    QTest::newRow("double quotes") << u"\"\\\"q\\\" \\\\ \\$x \\`c\\` \\n '\" \"\""_s << u"1[\"q\" \\ $x `c` \\n '][]"_s;
    QTest::newRow("backslash, nothing expanded") << u"a\\ b.png \\#x $HOME/*.png ~ a;b|c>d \\'y\\"_s
                                                << u"1[a b.png][#x][$HOME/*.png][~][a;b|c>d]['y\\]"_s;
    QTest::newRow("lines joined and quoted across")
        << u"a.png \\\n--dpi 150\nb.png \"x\\\ny\" 'p\nq'\nc"_s << u"1[a.png][--dpi][150] / 3[b.png][xy][p\nq] / 6[c]"_s;
    QTest::newRow("CR LF") << u"a.png\r\nb.png 'x\r\ny' \\\r\nz\r\n"_s << u"1[a.png] / 2[b.png][x\ny][z]"_s;
}

void TestBatch::linesAreSplitAsAShellSplitsThem()
{
    QFETCH(QString, text);
    QFETCH(QString, lines);
    QCOMPARE(shown(nikra::splitShellLines(text)), lines);
}

void TestBatch::linesThatCannotBeDrawnFailAlone()
{
    // A line that cannot be drawn fails on its own: the other pages are written, each result
    // in the file's order, and the run ends with status 1. A page file written by an earlier
    // line, under another of its names (a link), is never written twice.
    TestDir dir;
    const QString a = dir.path(u"a.png"_s);
    QVERIFY(QDir(dir.root()).mkdir(u"sub"_s));
    QVERIFY(QFile::link(a, dir.path(u"link.png"_s)));
    const QString missing = dir.path(u"missing.dat"_s);
    const QString lines = u"%1 --slot 1 %2\n%3/link.png\n"
                          "/no/such/folder/c.png\nd.png -o e.png\nw.png --watch\n%3/sub/f.svg --slot 1 %2\n"_s
                              .arg(a, missing, dir.root());
    const Run run = runNikra({u"render"_s, u"--batch"_s, dir.write(u"pages.txt"_s, lines)});
    QCOMPARE(run.out, u"ok %1\n"
                      "failed %2/link.png: 1 行目と同じファイルに書くページです\n"
                      "failed /no/such/folder/c.png: "
                      "/no/such/folder/c.png に保存できませんでした（No such file or directory）。\n"
                      "failed d.png: -o has no place on a line: its first word is the page to write\n"
                      "failed w.png: --watch has no place on a line: each page is drawn once\n"
                      "ok %2/sub/f.svg\n"_s.arg(a, dir.root()));
    const QString problem = u":  1st Format Data Error: ファイルが存在しません。ご確認ください。 \n"_s;
    QCOMPARE(run.err, a + problem + dir.path(u"sub/f.svg"_s) + problem);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(QFileInfo(dir.path(u"sub/f.svg"_s)).size() > 0);

    // A quote left open, or arguments beside --batch: nothing is drawn, status 2.
    QVERIFY(QFile::remove(a));
    const QString open = dir.write(u"open.txt"_s, u"%1\n# 'not this'\n'x.png\n"_s.arg(a));
    Run bad = runNikra({u"render"_s, u"--batch"_s, open});
    QCOMPARE(bad.err, u"nikra render: %1: 3 行目の引用符が閉じていません\n"_s.arg(open));
    QCOMPARE(bad.exitCode, 2);
    bad = runNikra({u"render"_s, u"--batch"_s, dir.path(u"pages.txt"_s), u"--dpi"_s, u"100"_s});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY(!QFileInfo::exists(a));
}

int runBatchTests(int argc, char **argv)
{
    TestBatch tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_batch.moc"
