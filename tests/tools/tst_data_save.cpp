// The data save and the search: what a save leaves in its folder, what a refused or failing
// save leaves behind, the checksum manifest, the two windows driven through their controls
// from the main window, and "nikra save" on the command line.

#include "platform/file_picker.h"
#include "app/main_window.h"
#include "platform/program_folder.h"
#include "support/nikra_run.h"
#include "support/program_under_test.h"
#include "support/recording_messenger.h"
#include "support/test_files.h"
#include "tools/checksum_manifest.h"
#include "tools/data_save.h"
#include "tools/data_save_window.h"
#include "tools/folder_swap.h"
#include "tools/search_window.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// Every entry under a folder, hidden ones too, with the bytes of each file: what "left
// exactly as it was" compares.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(folder).relativeFilePath(path), it.fileInfo().isFile() ? fileContents(path) : "<dir>");
    }
    return entries;
}

QStringList entryNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

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
    void searchOffersSelect();
    void searchLoadRules();
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
    const DataSaveResult r =
        saveSlotSet(home.root(), u" 1205-0930 "_s, contentsFor(slots, home.root()), ExistingFolder::Ask, messages);
    QCOMPARE(int(r.outcome), int(DataSaveOutcome::Saved));
    QVERIFY(messages.lines.isEmpty());
    const QString saved = home.path(u"1205-0930"_s);
    QCOMPARE(r.folder, saved);
    QStringList expected = before + QStringList{u"1205-0930"_s};
    expected.sort();
    QCOMPARE(entryNames(home.root()), expected);  // nothing left aside

    QStringList lines;
    for (int k = 0; k < 3; ++k) {
        lines << u"/"_s << home.root() << (k == 2 ? u"*.txt"_s : u"*.dat"_s);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const QString &named = k == 0 ? slots[slot].format : k == 1 ? slots[slot].graph : slots[slot].comment;
            if (named.isEmpty()) {
                lines << QString();
                continue;
            }
            const QString copy = saved + u'/' + QFileInfo(named).fileName();
            QCOMPARE(fileContents(copy), fileContents(named));
            lines << copy;
        }
    }
    lines << u"見出し"_s << u" 1 "_s << u" 4 "_s << u" 2 "_s;
    QCOMPARE(fileContents(saved + u"/Nikra.pth"_s), QString(lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
    QCOMPARE(entryNames(saved).size(), 11 + 2);  // the copies, Nikra.pth, Nikra.sha256

    // The manifest is sha256sum's own and passes its check.
    const QString sha256sum = QStandardPaths::findExecutable(u"sha256sum"_s);
    if (!sha256sum.isEmpty()) {
        QProcess check;
        check.setWorkingDirectory(saved);
        check.start(sha256sum, {u"-c"_s, u"--strict"_s, u"Nikra.sha256"_s});
        QVERIFY(check.waitForFinished(30000));
        QCOMPARE(check.exitCode(), 0);
    }
    QCOMPARE(fileContents(saved + u"/Nikra.sha256"_s).count('\n'), 12);
    QCOMPARE(manifestStatusText(checkManifest(saved)), u"変更なし"_s);

    // A changed and a missing file are both named.
    QFile g2(saved + u"/g02.dat"_s);
    QVERIFY(g2.open(QIODevice::Append));
    g2.write(" ");
    g2.close();
    QVERIFY(QFile::remove(saved + u"/cmtnkr2.txt"_s));
    const ManifestCheck check = checkManifest(saved);
    QCOMPARE(check.changed, QStringList{u"g02.dat"_s});
    QCOMPARE(check.missing, QStringList{u"cmtnkr2.txt"_s});
    QCOMPARE(manifestStatusText(check), u"変更されたファイル: g02.dat\n見つからないファイル: cmtnkr2.txt"_s);

    // Entries that lead out of the set are not followed, even to the listed bytes: a path
    // up, an absolute path, a subfolder, a link beside the manifest.
    const QString outside = home.write(u"outside.txt"_s, QByteArray("x"));
    QDir(saved).mkdir(u"sub"_s);
    QVERIFY(QFile::copy(outside, saved + u"/sub/dir"_s));
    QVERIFY(QFile::link(outside, saved + u"/link.txt"_s));
    const QByteArray hash = *sha256OfFile(outside);
    const QStringList escapes{u"../outside.txt"_s, outside, u"sub/dir"_s, u"link.txt"_s};
    QFile manifest(saved + u"/Nikra.sha256"_s);
    QVERIFY(manifest.open(QIODevice::Append));
    for (const QString &name : escapes)
        manifest.write(hash + "  " + name.toUtf8() + '\n');
    manifest.close();
    QCOMPARE(checkManifest(saved).missing, QStringList{u"cmtnkr2.txt"_s} + escapes);
    QVERIFY(!checkManifest(home.root()).present);
}

void DataSaveTest::sameNamesAndSameFile()
{
    TestDir home;
    QDir(home.root()).mkpath(u"a"_s);
    QDir(home.root()).mkpath(u"b"_s);
    const QString a = home.write(u"a/g01.dat"_s, QByteArray("a"));
    const QString b = home.write(u"b/g01.dat"_s, QByteArray("b"));
    const QString pthNamed = home.write(u"b/Nikra.pth"_s, QByteArray("not the set's own"));
    SlotSet slots;
    slots[1] = {a, b, QString()};
    slots[2] = {home.path(u"b/../a/g01.dat"_s), a, pthNamed};  // the same file by another way
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    const QDir saved(home.path(u"set"_s));
    QCOMPARE(entryNames(saved.path()), (QStringList{u"Nikra.pth"_s, u"Nikra.sha256"_s, u"Nikra~2.pth"_s, u"g01.dat"_s,
                                                u"g01~2.dat"_s}));
    QCOMPARE(fileContents(saved.filePath(u"g01.dat"_s)), QByteArray("a"));
    QCOMPARE(fileContents(saved.filePath(u"g01~2.dat"_s)), QByteArray("b"));
    QCOMPARE(fileContents(saved.filePath(u"Nikra~2.pth"_s)), QByteArray("not the set's own"));
    const auto memory = PathMemory::read(saved.filePath(u"Nikra.pth"_s));
    QVERIFY(memory);
    QCOMPARE(*memory->name(PickerKind::FormatData, 1), saved.filePath(u"g01.dat"_s));
    QCOMPARE(*memory->name(PickerKind::GraphData, 1), saved.filePath(u"g01~2.dat"_s));
    QCOMPARE(*memory->name(PickerKind::FormatData, 2), saved.filePath(u"g01.dat"_s));
    QCOMPARE(*memory->name(PickerKind::GraphData, 2), saved.filePath(u"g01.dat"_s));
    QCOMPARE(*memory->name(PickerKind::CommentData, 2), saved.filePath(u"Nikra~2.pth"_s));
    QVERIFY(checkManifest(saved.path()).unchanged());
}

void DataSaveTest::unsafeNamesRefused()
{
    TestDir outer;
    QDir(outer.root()).mkpath(u"home"_s);
    QDir(outer.root()).mkpath(u"elsewhere"_s);
    const QString home = outer.path(u"home"_s);
    const QString pth = QDir(home).filePath(u"Nikra.pth"_s);
    outer.write(u"home/Nikra.pth"_s, QByteArray("kept"));
    outer.write(u"elsewhere/data.dat"_s, QByteArray("kept"));
    QVERIFY(QFile::link(outer.path(u"elsewhere"_s), QDir(home).filePath(u"link"_s)));
    SlotSet slots;
    slots[1].format = pth;
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
    const QString source = home.write(u"f.dat"_s, QByteArray("first"));
    SlotSet slots;
    slots[1].format = source;
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    home.write(u"set/note.txt"_s, QByteArray("added later"));
    const auto before = snapshot(home.root());

    // No to the question, or a folder kept without asking: nothing changes.
    messages.yesNoAnswer = false;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Declined);
    QCOMPARE(messages.lines, QStringList{saveMessage(Msg::FolderExists)});
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Keep, messages), DataSaveOutcome::Declined);
    QCOMPARE(messages.lines.size(), 1);
    QCOMPARE(snapshot(home.root()), before);

    // Yes, but a file cannot be read: the message names it and why, and the old set stays
    // whole.
    messages.yesNoAnswer = true;
    messages.lines.clear();
    const QString unreadable = home.write(u"g.dat"_s, QByteArray("secret"));
    QFile::setPermissions(unreadable, {});
    QString why = QString::fromLocal8Bit(std::strerror(EACCES));
    if (QFile(unreadable).open(QIODevice::ReadOnly)) {  // permissions do not stop this user
        QFile::remove(unreadable);
        QDir(home.root()).mkdir(u"g.dat"_s);
        why = QString::fromLocal8Bit(std::strerror(EISDIR));
    }
    slots[1].graph = unreadable;
    const auto withUnreadable = snapshot(home.root());
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Failed);
    QCOMPARE(messages.lines, (QStringList{saveMessage(Msg::FolderExists),
                                          saveMessage(Msg::CopyFailed, {unreadable, why})}));
    QVERIFY(messages.lines.constLast().contains(why));
    QCOMPARE(snapshot(home.root()), withUnreadable);

    // Yes with every file readable: the old set is replaced completely.
    slots[1].graph.clear();
    home.write(u"f.dat"_s, QByteArray("second"));
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    QCOMPARE(entryNames(home.path(u"set"_s)), (QStringList{u"Nikra.pth"_s, u"Nikra.sha256"_s, u"f.dat"_s}));
    QCOMPARE(fileContents(home.path(u"set/f.dat"_s)), QByteArray("second"));
    QVERIFY(!entryNames(home.root()).join(u' ').contains(u".set"_s));  // nothing left aside

    // The set saved again over itself: its own files are the sources and stay whole.
    slots[1].format = home.path(u"set/f.dat"_s);
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    QCOMPARE(fileContents(home.path(u"set/f.dat"_s)), QByteArray("second"));
    QVERIFY(checkManifest(home.path(u"set"_s)).unchanged());
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

void DataSaveTest::searchOffersSelect()
{
    TestDir home;
    SlotSet slots;
    slots[1].format = home.write(u"f.dat"_s, QByteArray("f"));
    RecordingMessenger messages;
    QCOMPARE(saveAs(home.root(), u"set"_s, slots, ExistingFolder::Ask, messages), DataSaveOutcome::Saved);
    const QString saved = home.path(u"set"_s);
    QDir(home.root()).mkdir(u"empty"_s);
    home.write(u"empty/Nikra.pth"_s, QByteArray());
    QDir(home.root()).mkdir(u"oneline"_s);
    home.write(u"oneline/Nikra.pth"_s, QByteArray("\r\n"));

    SearchWindow w(messages);
    w.open(home.root());
    auto *select = w.findChild<QPushButton *>(u"Command2"_s);
    auto *status = w.findChild<QLabel *>(u"Label1"_s);
    QVERIFY(!select->isVisible());  // the program folder holds no Nikra.pth

    // Opening "set" in the folder list offers it.
    auto *folders = w.findChild<QListWidget *>(u"Dir1"_s);
    const auto found = folders->findItems(u"set"_s, Qt::MatchEndsWith);
    QCOMPARE(found.size(), 1);
    folders->setCurrentItem(found.first());
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(w.folder(), saved);
    QVERIFY(select->isVisible());
    QCOMPARE(status->text(), u"変更なし"_s);

    QVERIFY(w.setFolder(home.path(u"empty"_s)));
    QVERIFY(!select->isVisible());
    QVERIFY(w.setFolder(home.path(u"oneline"_s)));
    QVERIFY(select->isVisible());

    // A changed set is loaded only when the user says so.
    home.write(u"set/f.dat"_s, QByteArray("changed"));
    QVERIFY(w.setFolder(saved));
    QCOMPARE(status->text(), u"変更されたファイル: f.dat"_s);
    QSignalSpy chosen(&w, &SearchWindow::selected);
    messages.yesNoAnswer = false;
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(messages.lines, QStringList{saveMessage(Msg::LoadChangedSet)});
    QCOMPARE(chosen.size(), 0);
    QVERIFY(w.isVisible());
    messages.yesNoAnswer = true;
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(chosen.size(), 1);
    QVERIFY(!w.isVisible());
}

void DataSaveTest::searchLoadRules()
{
    Program p;
    MainWindow &w = p.start();  // the sample slots
    w.show();
    auto *headerText = p.find<QLineEdit>(&w, u"Text4"_s);
    headerText->setText(u"old header"_s);
    const QString home = p.home.root();

    // A file that ends after line 6: the Format Data picker and slots 1 to 3, nothing else.
    w.loadSlotSet(PathMemory::fromText(u"/\r\n%1\r\n*.frm\r\nf1\r\nf2\r\nf3\r\n"_s.arg(home)));
    QCOMPARE(w.picker(1)->pattern(), u"*.frm"_s);
    QCOMPARE(w.slotBox(1, 3)->text(), u"f3"_s);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (int kind = 1; kind <= 3; ++kind) {
            if (kind > 1 || slot > 3)
                QVERIFY2(w.slotBox(kind, slot)->text().isEmpty(), qPrintable(u"%1 %2"_s.arg(kind).arg(slot)));
        }
    }
    QVERIFY(headerText->text().isEmpty());

    // Empty pattern lines take the defaults, and the file lists follow; list positions are
    // read whatever blanks surround them.
    QStringList lines;
    for (int k = 0; k < 3; ++k)
        lines << u"/"_s << home << QString() << QString() << QString() << QString() << QString() << QString() << QString();
    lines << u"h"_s << u"  3"_s << u"8   "_s << u" 0 "_s;
    w.loadSlotSet(PathMemory::fromText(lines.join(u"\r\n"_s)));
    QCOMPARE(w.picker(1)->pattern(), u"*.dat"_s);
    QCOMPARE(w.picker(2)->pattern(), u"*.dat"_s);
    QCOMPARE(w.picker(3)->pattern(), u"*.txt"_s);
    QCOMPARE(w.picker(3)->files(), sampleCommentFiles());
    QCOMPARE(p.find<QComboBox>(&w, u"Combo1"_s)->currentIndex(), 3);
    QCOMPARE(p.find<QComboBox>(&w, u"Combo2"_s)->currentIndex(), 8);
    QCOMPARE(p.find<QComboBox>(&w, u"Combo3"_s)->currentIndex(), 0);
    QCOMPARE(headerText->text(), u"h"_s);
}

void DataSaveTest::saveSearchDrawGivesTheSamePage()
{
    Program p;
    MainWindow &w = p.start();
    w.show();
    p.find<QLineEdit>(&w, u"Text4"_s)->setText(u"見出し"_s);
    auto *saveButton = p.find<QPushButton>(&w, u"Command8"_s);
    QVERIFY(saveButton->isHidden());  // hidden at start-up
    p.draw();
    QTest::mouseClick(w.canvasWindow()->findChild<QPushButton *>(u"Command3"_s), Qt::LeftButton);
    QVERIFY(saveButton->isVisible());  // shown when the canvas returns
    const QImage before = w.drawPage().image;

    QTest::mouseClick(saveButton, Qt::LeftButton);
    DataSaveWindow *form7 = w.dataSaveWindow();
    QVERIFY(form7->isVisible());
    QCOMPARE(p.find<QLabel>(form7, u"Label1"_s)->text(), messageText(Msg::DataSaveInstruction));
    auto *name = p.find<QLineEdit>(form7, u"Text1"_s);
    QVERIFY(QRegularExpression(u"^\\d{4}-\\d{4}$"_s).match(name->text()).hasMatch());

    // An empty name makes nothing and keeps "保存".
    const QStringList entries = entryNames(p.home.root());
    name->clear();
    p.click(form7, u"Command2"_s);
    QVERIFY(!form7->isVisible());
    QCOMPARE(entryNames(p.home.root()), entries);
    QVERIFY(saveButton->isVisible());

    QTest::mouseClick(saveButton, Qt::LeftButton);
    name->setText(u"kept"_s);
    p.click(form7, u"Command2"_s);
    QVERIFY(!form7->isVisible());
    QVERIFY(saveButton->isHidden());  // hidden by the completed save
    QVERIFY(p.messages.lines.size() == 1);  // the first start's welcome only

    // Another set in the slots, then the saved one searched and loaded back.
    for (int slot = 1; slot <= kSlotCount; ++slot)
        w.slotBox(1, slot)->setText(slot == 1 ? p.home.path(u"frmnkr2.dat"_s) : QString());
    p.click(&w, u"Command9"_s);
    SearchWindow *form6 = w.searchWindow();
    QVERIFY(form6->isVisible());
    QVERIFY(form6->setFolder(p.home.path(u"kept"_s)));
    QCOMPARE(p.find<QLabel>(form6, u"Label1"_s)->text(), u"変更なし"_s);
    p.click(form6, u"Command2"_s);
    QVERIFY(!form6->isVisible());
    QCOMPARE(w.slotBox(2, 4)->text(), p.home.path(u"kept/g04.dat"_s));
    QCOMPARE(w.drawPage().image, before);

    // Drawing it leaves the set as saved; only the program folder's Nikra.pth names it, as
    // a plain data folder's copy names what is drawn from there.
    const QMap<QString, QByteArray> saved = snapshot(p.home.path(u"kept"_s));
    p.draw();
    QCOMPARE(snapshot(p.home.path(u"kept"_s)), saved);
    QCOMPARE(PathMemory::read(p.home.path(u"Nikra.pth"_s))->name(PickerKind::GraphData, 4), w.slotBox(2, 4)->text());
    QDir(p.root()).mkdir(u"plain"_s);
    p.home.write(u"plain/f.dat"_s, fileContents(p.home.path(u"frmnkr1.dat"_s)));
    w.slotBox(1, 1)->setText(p.home.path(u"plain/f.dat"_s));
    p.draw();
    QCOMPARE(PathMemory::read(p.home.path(u"plain/Nikra.pth"_s))->name(PickerKind::FormatData, 1), w.slotBox(1, 1)->text());
    QCOMPARE(snapshot(p.home.path(u"kept"_s)), saved);
}

void DataSaveTest::commandLine()
{
    TestDir home;
    seedSamples(home.root());
    const QString pth = home.root() + u"/Nikra.pth"_s;
    PathMemory::Contents contents = contentsFor(sampleSlots(home.root()), home.root());
    contents.headerFontIndex = 0;
    QVERIFY(PathMemory::write(pth, contents));
    const QStringList save{u"save"_s, u"--pth"_s, pth, u"--home"_s, home.root(), u"--name"_s, u"set"_s};

    Run r = runNikra(save);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, home.path(u"set"_s) + u'\n');
    r = runNikra(save);  // there already
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(u"--replace"_s));
    QCOMPARE(runNikra(save + QStringList{u"--replace"_s}).exitCode, 0);
    QCOMPARE(runNikra(QStringList{u"save"_s, u"--pth"_s, pth, u"--home"_s, home.root(), u"--name"_s, u"../escaped"_s}).exitCode, 2);
    QCOMPARE(runNikra(QStringList{u"save"_s, u"--name"_s, u"y"_s}).exitCode, 2);
    QVERIFY(!QFileInfo::exists(home.path(u"../escaped"_s)) && !QFileInfo::exists(home.path(u"y"_s)));
    // The default name is the date and time.
    r = runNikra(QStringList{u"save"_s, u"--pth"_s, pth, u"--home"_s, home.root()});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(QRegularExpression(u"/\\d{4}-\\d{4}\\n$"_s).match(r.out).hasMatch());

    // The saved set draws the same page.
    const QString original = home.path(u"original.png"_s);
    const QString copy = home.path(u"copy.png"_s);
    QCOMPARE(runNikra({u"render"_s, u"--home"_s, home.root(), u"--pth"_s, pth, u"-o"_s, original}).exitCode, 0);
    QCOMPARE(runNikra({u"render"_s, u"--home"_s, home.root(), u"--pth"_s, home.path(u"set/Nikra.pth"_s), u"-o"_s,
                       copy}).exitCode, 0);
    QCOMPARE(QImage(copy), QImage(original));
}

int runDataSaveTests(int argc, char **argv)
{
    DataSaveTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_data_save.moc"
