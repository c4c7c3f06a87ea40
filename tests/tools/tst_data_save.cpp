// The data save and the search: what a save leaves in its folder, what a refused or failing
// save leaves behind, the checksum manifest, the two windows driven through their controls
// from the main window, and "nikra save" on the command line.

#include "platform/file_picker.h"
#include "support/nikra_run.h"
#include "support/program_under_test.h"
#include "tools/checksum_manifest.h"
#include "tools/data_save.h"
#include "tools/data_save_window.h"
#include "tools/folder_swap.h"
#include "tools/search_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

PathMemory::Contents contentsFor(const SlotSet &slots, const QString &pickerFolder = {})
{
    PathMemory::Contents c;
    c.pickers = {PickerState{u"/"_s, pickerFolder, u"*.dat"_s}, PickerState{u"/"_s, pickerFolder, u"*.dat"_s},
                 PickerState{u"/"_s, pickerFolder, u"*.txt"_s}};
    c.slots = slots;
    c.headerText = u"見出し"_s;
    c.headerFontIndex = 1;
    c.headerSizeIndex = 4;
    c.headerAlignIndex = 2;
    return c;
}

// The hidden folders saves leave beside the sets.
QStringList leftovers(const QString &folder)
{
    return entryNames(folder).filter(QRegularExpression(u"^\\.nikra-(save|old)-\\d+-"_s));
}

// This process's leftovers in folder renamed as if a save that has ended had left them.
void leftByEndedSave(const QString &folder)
{
    QProcess ended;
    ended.start(u"true"_s, {});
    QVERIFY(ended.waitForStarted());
    const QString pid = QString::number(ended.processId());
    QVERIFY(ended.waitForFinished());
    const QString own = u"-%1-"_s.arg(QCoreApplication::applicationPid());
    for (const QString &name : leftovers(folder))
        QVERIFY(QDir(folder).rename(name, QString(name).replace(own, u'-' + pid + u'-')));
}

QString saveMessage(Msg id, const QStringList &args = {}) { return messageLine(programName(), id, args); }

// The outcome of saving the slots under `name` in the program folder.
DataSaveOutcome saveAs(const QString &home, const QString &name, const SlotSet &slots, ExistingFolder existing,
                       RecordingMessenger &messages)
{
    return saveSlotSet(home, name, contentsFor(slots), existing, messages).outcome;
}

} // namespace

class DataSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullSaveAndManifest();
    void sameNamesAndSameFile();
    void unsafeNamesRefused();
    void replaceAskedKeptAndFailing();
    void killedAndRacingSaves();
    void saveSearchDrawGivesTheSamePage();
    void commandLine();
};

void DataSaveTest::fullSaveAndManifest()
{
    TestDir home;
    seedSamples(home.root());
    SlotSet slots = sampleSlots(home.root());  // four slots, slot 4 without a comment
    // Copies keep every byte: a BOM, Shift_JIS text, CR LF and a lone CR.
    slots[1].comment = home.write(u"odd.txt"_s, QByteArray("\xEF\xBB\xBF" "a\r\n\x93\xFA\x96\x7B\rb"));
    const QStringList before = entryNames(home.root());
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u" 1205-0930 "_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    QVERIFY(messages.lines.isEmpty());
    const QString saved = home.path(u"1205-0930"_s);
    QStringList expected = before + QStringList{u"1205-0930"_s};
    expected.sort();
    QCOMPARE(entryNames(home.root()), expected);  // nothing left aside

    // Nikra.pth naming the copies is compared whole by the command-line test.
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (const QString &named : {slots[slot].format, slots[slot].graph, slots[slot].comment}) {
            if (!named.isEmpty())
                QCOMPARE(fileContents(saved + u'/' + QFileInfo(named).fileName()), fileContents(named));
        }
    }

    // The manifest is sha256sum's own and passes its check, one line a copy.
    QVERIFY(sha256sumAccepts(saved));

    // A changed and a missing file are both named.
    QVERIFY(writeFile(saved + u"/g02.dat"_s, fileContents(saved + u"/g02.dat"_s) + ' '));
    QVERIFY(QFile::remove(saved + u"/cmtnkr2.txt"_s));
    const ManifestCheck check = checkManifest(saved);
    QCOMPARE(check.changed, QStringList{u"g02.dat"_s});
    QCOMPARE(check.missing, QStringList{u"cmtnkr2.txt"_s});
    QCOMPARE(manifestStatusText(check), u"変更されたファイル: g02.dat\n見つからないファイル: cmtnkr2.txt"_s);

    // Entries that lead out of the set are not followed, even to the listed bytes: a path
    // up, an absolute path, a subfolder, a link beside the manifest.
    const QString outside = home.write(u"outside.txt"_s, QByteArray("x"));
    home.write(u"1205-0930/sub/dir"_s, QByteArray("x"));
    QVERIFY(QFile::link(outside, saved + u"/link.txt"_s));
    const QStringList escapes{u"../outside.txt"_s, outside, u"sub/dir"_s, u"link.txt"_s};
    QByteArray manifest = fileContents(saved + u"/Nikra.sha256"_s);
    for (const QString &name : escapes)
        manifest += *sha256OfFile(outside) + "  " + name.toUtf8() + '\n';
    QVERIFY(writeFile(saved + u"/Nikra.sha256"_s, manifest));
    QCOMPARE(checkManifest(saved).missing, QStringList{u"cmtnkr2.txt"_s} + escapes);
    QVERIFY(!checkManifest(home.root()).present);
}

void DataSaveTest::sameNamesAndSameFile()
{
    TestDir home;
    const QString a = home.write(u"a/g01.dat"_s, QByteArray("a"));
    const QString b = home.write(u"b/g01.dat"_s, QByteArray("b"));
    const QString pthNamed = home.write(u"b/Nikra.pth"_s, QByteArray("not the set's own"));
    SlotSet slots;
    slots[1] = {a, b, QString()};
    slots[2] = {home.path(u"b/../a/g01.dat"_s), a, pthNamed};  // the same file by another way
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    const QDir saved(home.path(u"set"_s));
    QCOMPARE(snapshot(saved.path()), (QMap<QString, QByteArray>{{u"Nikra.pth"_s, fileContents(saved.filePath(u"Nikra.pth"_s))},
                                                             {u"Nikra.sha256"_s, fileContents(saved.filePath(u"Nikra.sha256"_s))},
                                                             {u"Nikra~2.pth"_s, "not the set's own"},
                                                             {u"g01.dat"_s, "a"},
                                                             {u"g01~2.dat"_s, "b"}}));
    const auto memory = PathMemory::read(saved.filePath(u"Nikra.pth"_s));
    QVERIFY(memory);
    QCOMPARE(*memory->name(PickerKind::GraphData, 1), saved.filePath(u"g01~2.dat"_s));
    QCOMPARE(*memory->name(PickerKind::CommentData, 2), saved.filePath(u"Nikra~2.pth"_s));
    QVERIFY(checkManifest(saved.path()).unchanged());
}

void DataSaveTest::unsafeNamesRefused()
{
    TestDir outer;
    const QString home = outer.path(u"home"_s);
    SlotSet slots;
    slots[1].format = outer.write(u"home/Nikra.pth"_s, QByteArray("kept"));
    outer.write(u"elsewhere/data.dat"_s, QByteArray("kept"));
    QVERIFY(QFile::link(outer.path(u"elsewhere"_s), QDir(home).filePath(u"link"_s)));
    const auto before = snapshot(outer.root());

    for (const QString &name : {u"   "_s, u"."_s, u".."_s, u"../escape"_s, u"a/b"_s, u"a\\b"_s, u"/tmp"_s,
                                u"tab\there"_s, u"new\nline"_s, u"txt\u202Eexe"_s, QString(256, u'a')}) {
        RecordingMessenger messages;
        QCOMPARE(saveAs(home, name, slots, ExistingFolder::Replace, messages), DataSaveOutcome::BadName);
        QCOMPARE(messages.lines, QStringList{saveMessage(Msg::BadFolderName, {name})});
    }
    // A file or a link of that name is never replaced, whatever the answer.
    for (const QString &name : {u"Nikra.pth"_s, u"link"_s}) {
        RecordingMessenger messages;
        QCOMPARE(saveAs(home, name, slots, ExistingFolder::Replace, messages), DataSaveOutcome::Failed);
        QCOMPARE(messages.lines, QStringList{saveMessage(Msg::NotAFolder, {QDir(home).filePath(name)})});
    }
    QCOMPARE(snapshot(outer.root()), before);
}

void DataSaveTest::replaceAskedKeptAndFailing()
{
    TestDir home;
    SlotSet slots;
    slots[1].format = home.write(u"f.dat"_s, QByteArray("first"));
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    home.write(u"set/note.txt"_s, QByteArray("added later"));
    const auto before = snapshot(home.root());

    // No to the question: nothing changes.
    messages.yesNoAnswer = false;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Declined);
    QCOMPARE(messages.lines, QStringList{saveMessage(Msg::FolderExists)});
    QCOMPARE(snapshot(home.root()), before);

    // Yes, but a file cannot be read: the message names it and why, and the old set stays
    // whole.
    messages.yesNoAnswer = true;
    messages.lines.clear();
    slots[1].graph = home.write(u"g.dat"_s, QByteArray("secret"));
    QFile::setPermissions(slots[1].graph, {});
    QString why = systemReason(EACCES);
    if (QFile(slots[1].graph).open(QIODevice::ReadOnly)) {  // permissions do not stop this user
        QFile::remove(slots[1].graph);
        QDir(home.root()).mkdir(u"g.dat"_s);
        why = systemReason(EISDIR);
    }
    const auto withUnreadable = snapshot(home.root());
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Failed);
    QCOMPARE(messages.lines, (QStringList{saveMessage(Msg::FolderExists),
                                          saveMessage(Msg::CopyFailed, {slots[1].graph, why})}));
    QCOMPARE(snapshot(home.root()), withUnreadable);

    // Yes with every file readable: the old set is replaced completely, nothing left aside.
    // Saved again over itself, its own files are the sources and stay whole.
    slots[1].graph.clear();
    home.write(u"f.dat"_s, QByteArray("second"));
    for (const QString &source : {home.path(u"f.dat"_s), home.path(u"set/f.dat"_s)}) {
        slots[1].format = source;
        QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
        QCOMPARE(entryNames(home.path(u"set"_s)), (QStringList{u"Nikra.pth"_s, u"Nikra.sha256"_s, u"f.dat"_s}));
        QCOMPARE(fileContents(home.path(u"set/f.dat"_s)), QByteArray("second"));
        QVERIFY(checkManifest(home.path(u"set"_s)).unchanged());
        QCOMPARE(leftovers(home.root()), QStringList());
    }
}

void DataSaveTest::killedAndRacingSaves()
{
    TestDir home;
    SlotSet slots;
    slots[1].format = home.write(u"f.dat"_s, QByteArray("old"));
    RecordingMessenger messages;
    auto saved = [&](const QString &name, const SaveOptions &options = {}) {
        return saveSlotSet(home.root(), name, contentsFor(slots), ExistingFolder::Replace, messages, options)
                   .outcome == DataSaveOutcome::Saved;
    };
    QVERIFY(saved(u"set"_s));
    const QString set = home.path(u"set"_s);
    const auto oldSet = snapshot(set);
    // Hidden folders that are not a save's own stay whatever happens.
    QDir(home.root()).mkpath(u".nikra-save-mine/x"_s);
    QDir(home.root()).mkpath(u".set.old"_s);
    home.write(u"f.dat"_s, QByteArray("new"));

    // Killed while building, and killed between two renames (where a file system cannot
    // swap): the next save removes the half-built set and puts the old one back.
    for (const SaveStep at : {SaveStep::SetBuilt, SaveStep::OldSetAside}) {
        SaveOptions killed;
        killed.twoRenames = true;
        killed.reached = [at](SaveStep step) { return step != at; };
        QVERIFY(!saved(u"set"_s, killed));
        QCOMPARE(QFileInfo::exists(set), at == SaveStep::SetBuilt);
        leftByEndedSave(home.root());
        QVERIFY(saved(u"other"_s));
        QCOMPARE(snapshot(set), oldSet);
        QCOMPARE(leftovers(home.root()), QStringList());
    }
    QCOMPARE(snapshot(home.path(u".nikra-save-mine"_s)).keys(), QStringList{u"x"_s});
    QVERIFY(QFileInfo(home.path(u".set.old"_s)).isDir());
    QVERIFY(messages.lines.isEmpty());

    // The last step fails (its staging folder taken away): the old set is back, whole.
    for (const bool twoRenames : {false, true}) {
        SaveOptions failing;
        failing.twoRenames = twoRenames;
        failing.reached = [&](SaveStep step) {
            if (step == (twoRenames ? SaveStep::OldSetAside : SaveStep::SetBuilt)) {
                for (const QString &name : leftovers(home.root()).filter(u".nikra-save-"_s))
                    QDir(home.path(name)).removeRecursively();
            }
            return true;
        };
        QVERIFY(!saved(u"set"_s, failing));
        QCOMPARE(messages.lines, QStringList{saveMessage(Msg::ReplaceFailed, {set})});
        messages.lines.clear();
        QCOMPARE(snapshot(set), oldSet);
        QCOMPARE(leftovers(home.root()), QStringList());
    }

    // Replaced in one step: at every step the name holds a whole set. Stopped before the
    // old set is removed, it is left while its save runs and removed once it has ended.
    QList<SaveStep> steps;
    bool alwaysWhole = true;
    SaveOptions watched;
    watched.reached = [&](SaveStep step) {
        steps << step;
        alwaysWhole = alwaysWhole && checkManifest(set).unchanged();
        return step != SaveStep::NewSetInPlace;
    };
    QVERIFY(!saved(u"set"_s, watched));
    QDir(home.root()).mkpath(u"a"_s);
    QDir(home.root()).mkpath(u"b"_s);
    if (swapFolders(home.path(u"a"_s), home.path(u"b"_s)).outcome == SwapOutcome::Swapped) {
        QCOMPARE(steps, (QList<SaveStep>{SaveStep::SetBuilt, SaveStep::NewSetInPlace}));
        QVERIFY(alwaysWhole);
    } else {
        qWarning("this file system cannot swap folders: the one-step replacement is not checked");
    }
    QCOMPARE(fileContents(home.path(u"set/f.dat"_s)), QByteArray("new"));
    QVERIFY(saved(u"other"_s));
    QCOMPARE(leftovers(home.root()).size(), 1);
    leftByEndedSave(home.root());
    QVERIFY(saved(u"other"_s));
    QCOMPARE(leftovers(home.root()), QStringList());

    // Another save puts its set in while the old one is aside: the message says where the
    // old set is, and it is whole there.
    const auto replaced = snapshot(set);
    SaveOptions raced;
    raced.twoRenames = true;
    raced.reached = [&](SaveStep step) { return step != SaveStep::OldSetAside || saved(u"set"_s); };
    QVERIFY(!saved(u"set"_s, raced));
    const QStringList aside = leftovers(home.root());
    QCOMPARE(aside.size(), 1);
    QCOMPARE(messages.lines,
             QStringList{saveMessage(Msg::OldSetLeftAside, {set, home.path(aside[0])})});
    QCOMPARE(snapshot(home.path(aside[0])), replaced);
}

void DataSaveTest::saveSearchDrawGivesTheSamePage()
{
    Program p;
    MainWindow &w = p.start();
    w.show();
    p.find<QLineEdit>(&w, u"Text4"_s)->setText(u"見出し"_s);
    p.draw();
    QTest::mouseClick(w.canvasWindow()->findChild<QPushButton *>(u"Command3"_s), Qt::LeftButton);
    const QImage before = w.drawPage().image;

    QTest::mouseClick(p.find<QPushButton>(&w, u"Command8"_s), Qt::LeftButton);
    DataSaveWindow *form7 = w.dataSaveWindow();
    auto *name = p.find<QLineEdit>(form7, u"Text1"_s);
    QVERIFY(QRegularExpression(u"^\\d{4}-\\d{4}$"_s).match(name->text()).hasMatch());  // date and time
    // Where the set goes is shown under the name, whatever folder the lists show.
    auto *target = p.find<QLabel>(form7, u"Label2"_s);
    p.find<QListWidget>(form7, u"Dir1"_s)->setCurrentRow(0);
    QTest::keyClick(p.find<QListWidget>(form7, u"Dir1"_s), Qt::Key_Return);
    name->setText(u" kept "_s);
    QCOMPARE(target->text(), u"保存先: "_s + p.home.path(u"kept"_s));

    p.click(form7, u"Command2"_s);
    QCOMPARE(p.messages.lines.size(), 1);  // the first start's welcome only
    p.messages.lines.clear();

    // Another set in the slots, then the saved one opened in the search's folder list.
    for (int slot = 1; slot <= kSlotCount; ++slot)
        w.slotBox(1, slot)->setText(slot == 1 ? p.path(u"frmnkr2.dat"_s) : QString());
    p.click(&w, u"Command9"_s);
    SearchWindow *form6 = w.searchWindow();
    auto *select = p.find<QPushButton>(form6, u"Command2"_s);
    QVERIFY(form6->setFolder(p.path(u"kept"_s)));
    p.click(form6, u"Command2"_s);
    QCOMPARE(w.slotBox(2, 4)->text(), p.path(u"kept/g04.dat"_s));
    QCOMPARE(w.drawPage().image, before);

    // Drawing it leaves the set as saved.
    const QMap<QString, QByteArray> saved = snapshot(p.path(u"kept"_s));
    p.draw();
    QCOMPARE(snapshot(p.path(u"kept"_s)), saved);

    // A changed set is loaded only when the user says so.
    p.home.write(u"kept/g04.dat"_s, QByteArray("changed"));
    p.click(&w, u"Command9"_s);
    QVERIFY(form6->setFolder(p.path(u"kept"_s)));
    QSignalSpy chosen(form6, &SearchWindow::selected);
    p.messages.yesNoAnswer = false;
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(p.messages.lines, QStringList{saveMessage(Msg::LoadChangedSet)});
    QCOMPARE(chosen.size(), 0);
    p.messages.yesNoAnswer = true;
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(p.find<QLineEdit>(&w, u"Text4"_s)->text(), u"見出し"_s);
}

void DataSaveTest::commandLine()
{
    TestDir home;
    seedSamples(home.root());
    const QString pth = home.path(u"Nikra.pth"_s);
    QVERIFY(PathMemory::write(pth, contentsFor(sampleSlots(home.root()), home.root())));
    const QStringList save{u"save"_s, u"--pth"_s, pth, u"--home"_s, home.root(), u"--name"_s, u"set"_s};

    Run r = runNikra(save);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, home.path(u"set"_s) + u'\n');
    // The set's Nikra.pth is the one given, naming the copies: every picker, slot and header
    // setting carried over.
    QCOMPARE(fileContents(home.path(u"set/Nikra.pth"_s)),
             fileContents(pth).replace(QString(home.root() + u'/').toUtf8(), home.path(u"set/"_s).toUtf8()));
    r = runNikra(save);  // there already
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(u"--replace"_s));
    QCOMPARE(runNikra(save + QStringList{u"--replace"_s}).exitCode, 0);
    QCOMPARE(runNikra(QStringList{save.mid(0, 6)} << u"../escaped"_s).exitCode, 2);
    QVERIFY(!QFileInfo::exists(home.path(u"../escaped"_s)));
}

int runDataSaveTests(int argc, char **argv)
{
    DataSaveTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_data_save.moc"
