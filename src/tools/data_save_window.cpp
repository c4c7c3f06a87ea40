#include "tools/data_save_window.h"

#include "formats/messages.h"
#include "platform/busy_cursor.h"
#include "platform/folder_lists.h"
#include "platform/named_button.h"
#include "tools/data_save.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace nikra {

DataSaveWindow::DataSaveWindow(Messenger &messenger, std::function<PathMemory::Contents()> contents, QWidget *parent)
    : QWidget(parent), messenger_(messenger), contents_(std::move(contents)),
      instruction_(new QLabel(messageText(Msg::DataSaveInstruction), this)), name_(new QLineEdit(this)),
      target_(new QLabel(this)),
      lists_(new DriveFolderLists(this)),
      ok_(namedButton(this, QStringLiteral("Command2"), QStringLiteral("ＯＫ"),
                      QStringLiteral("この名前のフォルダを作り、スロットのファイル一式を保存する"))),
      back_(namedButton(this, QStringLiteral("Command1"), QStringLiteral("戻る"), QStringLiteral("保存せずに閉じる")))
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("NKR Data Save"));
    instruction_->setObjectName(QStringLiteral("Label1"));
    instruction_->setWordWrap(true);
    name_->setObjectName(QStringLiteral("Text1"));
    name_->setToolTip(QStringLiteral("作成するフォルダの名前"));
    target_->setObjectName(QStringLiteral("Label2"));
    target_->setWordWrap(true);
    target_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    target_->setToolTip(QStringLiteral("一式を保存するフォルダ（右の一覧で選んだフォルダではなく、プログラムのフォルダの中）"));
    ok_->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(back_);
    auto *left = new QVBoxLayout;
    left->addWidget(instruction_);
    left->addWidget(name_);
    left->addWidget(target_);
    left->addStretch();
    left->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addWidget(lists_, 2);
    resize(520, 240);

    connect(ok_, &QPushButton::clicked, this, &DataSaveWindow::save);
    connect(name_, &QLineEdit::returnPressed, this, &DataSaveWindow::save);
    connect(name_, &QLineEdit::textChanged, this, &DataSaveWindow::showTarget);
    connect(back_, &QPushButton::clicked, this, &QWidget::hide);
}

void DataSaveWindow::open(const QString &programFolder, const QString &proposedName)
{
    programFolder_ = programFolder;
    name_->setText(proposedName);
    showTarget();
    lists_->setFolder(programFolder);
    show();
    raise();
    activateWindow();
    name_->setFocus();
}

void DataSaveWindow::showTarget()
{
    const QString name = name_->text().trimmed();
    target_->setText(name.isEmpty() ? QString()
                                    : QStringLiteral("保存先: %1").arg(QDir::toNativeSeparators(saveTargetFolder(programFolder_, name))));
}

void DataSaveWindow::save()
{
    // No name: nothing is made.
    if (name_->text().isEmpty()) {
        hide();
        return;
    }
    // A bad name, a refused replacement or a failure leaves the window open to try again.
    const auto target = chooseSaveTarget(programFolder_, name_->text(), ExistingFolder::Ask, messenger_);
    if (!target)
        return;
    bool done = false;
    {
        BusyCursor busy;
        done = writeSlotSet(*target, contents_(), messenger_);
    }
    if (!done)
        return;
    Q_EMIT saved(target->folder);
    hide();
}

} // namespace nikra
