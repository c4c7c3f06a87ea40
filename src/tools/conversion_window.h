#pragma once
// The conversion window ("NKR Conversion"): Graph Data between the column table and the
// block layout, and the differences of consecutive blocks.

#include <QWidget>

namespace nikra {

class CheckerWindow;
class HelpWindow;
class Messenger;

class ConversionWindow : public QWidget {
    Q_OBJECT

public:
    // mainWindow: shown again by "戻る" and by closing this window; help: opened by "ヘルプ".
    ConversionWindow(Messenger &messenger, CheckerWindow &checker, const QString &programFolder, QWidget *mainWindow,
                     QWidget *parent = nullptr);

private:
    Messenger &messenger_;
    CheckerWindow &checker_;
    QString programFolder_;
    QWidget *mainWindow_;
};

} // namespace nikra
