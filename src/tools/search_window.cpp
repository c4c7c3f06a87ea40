#include "tools/search_window.h"

#include "formats/messages.h"
#include "platform/folder_lists.h"
#include "platform/named_button.h"
#include "tools/checksum_manifest.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nikra {

namespace {

// The path memory file of a folder when it has at least one line.
std::optional<PathMemory> slotSetIn(const QString &folder)
{
    auto memory = PathMemory::read(QDir(folder).filePath(PathMemory::fileName()));
    if (memory && memory->lineCount() < 1)
        return std::nullopt;
    return memory;
}

} // namespace

SearchWindow::SearchWindow(Messenger &messenger, QWidget *parent)
    : QWidget(parent), messenger_(messenger), lists_(new DriveFolderLists(this)), status_(new QLabel(this)),
      select_(namedButton(this, QStringLiteral("Command2"), QStringLiteral("選択"),
                          QStringLiteral("このフォルダの Nikra.pth をメイン画面に読み込む"))),
      back_(namedButton(this, QStringLiteral("Command1"), QStringLiteral("戻る"), QStringLiteral("読み込まずに閉じる")))
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("NKR Search"));
    status_->setObjectName(QStringLiteral("Label1"));
    status_->setWordWrap(true);
    status_->setToolTip(QStringLiteral("保存したときのチェックサム (Nikra.sha256) との照合"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(select_);
    buttons->addStretch();
    buttons->addWidget(back_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lists_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    resize(320, 360);

    connect(lists_, &DriveFolderLists::folderChanged, this, &SearchWindow::folderShown);
    connect(select_, &QPushButton::clicked, this, &SearchWindow::select);
    connect(back_, &QPushButton::clicked, this, &QWidget::hide);
    select_->hide();
}

void SearchWindow::open(const QString &startFolder)
{
    if (lists_->folder().isEmpty() || !setFolder(lists_->folder()))
        setFolder(startFolder);
    show();
    raise();
    activateWindow();
}

QString SearchWindow::folder() const { return lists_->folder(); }

bool SearchWindow::setFolder(const QString &folder) { return lists_->setFolder(folder); }

void SearchWindow::folderShown(const QString &folder)
{
    const bool offered = slotSetIn(folder).has_value();
    select_->setVisible(offered);
    status_->setText(offered ? manifestStatusText(checkManifest(folder)) : QString());
}

void SearchWindow::select()
{
    const QString folder = lists_->folder();
    const auto memory = slotSetIn(folder);
    if (!memory) {
        folderShown(folder);  // the file went away since the folder was shown
        return;
    }
    const ManifestCheck check = checkManifest(folder);
    status_->setText(manifestStatusText(check));
    if (check.present && !check.unchanged()
        && !messenger_.askYesNo(programName(), messageText(Msg::LoadChangedSet)))
        return;
    Q_EMIT selected(*memory);
    hide();
}

} // namespace nikra
