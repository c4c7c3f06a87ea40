// The commands on the failures a user's machine has: a full disk, a device or a pipe where a
// file is expected, files no encoding reads, a mistyped program folder. Nothing may hang,
// nothing may be lost, and every refusal names the file and says why.

#include "formats/messages.h"
#include "formats/path_memory.h"
#include "support/nikra_run.h"
#include "support/recording_messenger.h"
#include "support/small_disk.h"
#include "support/test_files.h"

#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// One slot's files in a folder, and a path memory file naming them.
struct SlotInFolder {
    QString format, graph, pth;
    explicit SlotInFolder(const QString &folder)
    {
        FormatFile f;
        f.curves = QStringList{u"0, 0, 4, 0, 0, 0, 0, line"_s};
        format = folder + u"/f.dat"_s;
        graph = folder + u"/g.dat"_s;
        pth = folder + u"/Nikra.pth"_s;
        writeFile(format, f.text().toUtf8());
        writeFile(graph, "2\r\n1, 1\r\n9, 9\r\n");
        PathMemory::Contents contents;
        contents.slots[1] = SlotFiles{format, graph, {}};
        PathMemory::write(pth, contents);
    }
};

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullDiskChangesNoFile();
    void devicesAndPipesAreRefused();
    void undecodableFilesAreReported();
    void chosenProgramFolderMustExist();
};

void TestFileSafety::fullDiskChangesNoFile()
{
    TestDir outer;
    const SmallDisk disk(outer.path(u"disk"_s));
    if (disk.root.isEmpty())
        QSKIP("no file system of our own may be mounted here");
    const QString home = disk.root + u"/home"_s;
    QDir().mkpath(home + u"/set"_s);
    QDir().mkpath(disk.root + u"/data"_s);
    const SlotInFolder slot(disk.root + u"/data"_s);

    // A set saved while there is room.
    Run r = runNikra({u"save"_s, u"--pth"_s, slot.pth, u"--home"_s, home, u"--name"_s, u"kept"_s});
    QCOMPARE(r.exitCode, 0);
    const QString kept = home + u"/kept"_s;
    const auto keptSet = snapshot(kept);

    // Replacing the set with room for the copies (a page each) but not for the set's own two
    // files: status 1, and the old set whole under its name.
    QVERIFY(disk.fillLeaving(2 * 4096));
    r = runNikra({u"save"_s, u"--pth"_s, slot.pth, u"--home"_s, home, u"--name"_s, u"kept"_s, u"--replace"_s});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(u"Nikra"_s), qPrintable(r.err));
    QCOMPARE(snapshot(kept), keptSet);
    QVERIFY(sha256sumAccepts(kept));
    // Nothing half-written is left on the disk: no hidden staging folder, no temporary file.
    QCOMPARE(snapshot(disk.root).keys().filter(QRegularExpression(u"(^|/)\\."_s)), QStringList{});
}

void TestFileSafety::devicesAndPipesAreRefused()
{
    TestDir dir;
    const QString fifo = dir.path(u"pipe"_s);
    QVERIFY(makeFifo(fifo));
    const QString notRegular = messageText(Msg::NotARegularFile);

    // A path memory file that is a pipe, or is not there: refused at once, naming it and why
    // (a hang would time out here). Not there, it is no page to check, nor the samples' page.
    const QString none = dir.path(u"none.pth"_s);
    for (const auto &[pth, why] : {std::pair{fifo, notRegular}, {none, systemReason(ENOENT)}}) {
        const QString out = dir.path(u"p.png"_s);
        for (const QStringList &command : {QStringList{u"check"_s}, QStringList{u"render"_s, u"-o"_s, out},
                                           QStringList{u"save"_s, u"--home"_s, dir.root()}}) {
            const Run r = runNikra(command + QStringList{u"--pth"_s, pth});
            QCOMPARE(r.exitCode, command[0] == u"check"_s ? 2 : 1);
            QVERIFY2(r.err.contains(pth) && r.err.contains(why), qPrintable(r.err));
        }
        QVERIFY(!QFile::exists(out));
    }

    // A slot's files the same: the slot stops with the reason.
    Run r = runNikra({u"check"_s, u"--slot"_s, u"1"_s, fifo});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, slotMessage(FileKind::FormatData, 1, Msg::FileUnreadable, {notRegular}) + u'\n');

    // A conversion from a device, and onto a pipe no one reads: refused, and the pipe is
    // still a pipe.
    const QString table = dir.write(u"t.dat"_s, QByteArray("1 2 3\r\n"));
    r = runNikra({u"convert"_s, u"parallel-to-serial"_s, u"/dev/zero"_s, u"-o"_s, dir.path(u"o.dat"_s)});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(u"/dev/zero"_s) && r.err.contains(notRegular), qPrintable(r.err));
    r = runNikra({u"convert"_s, u"parallel-to-serial"_s, table, u"-o"_s, fifo});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(messageText(Msg::PipeWithoutReader)), qPrintable(r.err));
    QVERIFY(S_ISFIFO(modeOf(fifo)));
}

void TestFileSafety::undecodableFilesAreReported()
{
    TestDir dir;
    FormatFile f;
    f.line4 = u"100, 0, 10, 0, 0, 0, 3, 0"_s;  // comments in size 3
    f.curves = QStringList{u"0, 0, 4, 0, 0, 0, 0, line"_s};
    const QString format = dir.write(u"f.dat"_s, f);
    const QByteArray mark("\xEF\xBB\xBF");
    // A Graph Data file with two marks; a comment with a mark before Shift_JIS bytes (変位).
    const QString graph = dir.write(u"g.dat"_s, mark + mark + QByteArray("2\r\n1, 1\r\n9, 9\r\n"));
    const QString comment = dir.write(u"c.txt"_s, mark + QByteArray("\x95\xCF\x88\xCA\r\n"));
    const Run r = runNikra({u"check"_s, u"--slot"_s, u"1"_s, format, graph, comment});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, slotMessage(FileKind::GraphData, 1, Msg::TextNotDecoded) + u'\n'
                        + slotMessage(FileKind::CommentData, 1, Msg::CommentNotDecoded) + u'\n');
}

void TestFileSafety::chosenProgramFolderMustExist()
{
    TestDir dir;
    const QString missing = dir.path(u"no/such/home"_s);
    const QString pth = SlotInFolder(dir.root()).pth;
    for (const QStringList &command : {QStringList{u"check"_s}, QStringList{u"render"_s, u"-o"_s, dir.path(u"p.svg"_s)},
                                       QStringList{u"save"_s, u"--pth"_s, pth}}) {
        const Run r = runNikra(command + QStringList{u"--home"_s, missing});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(missing), qPrintable(r.err));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"NIKRA_HOME"_s, missing);
    const Run r = runNikra({u"check"_s}, env);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(u"NIKRA_HOME"_s), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(dir.path(u"no"_s)));
}

int runFileSafetyTests(int argc, char **argv)
{
    TestFileSafety tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_file_safety.moc"
