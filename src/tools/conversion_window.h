#pragma once
// The conversion window ("NKR Conversion"): Graph Data between the column table and the
// block layout, and the differences of consecutive blocks.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace nikra {

class CheckerWindow;
class FilePicker;
class HelpWindow;
class Messenger;

class ConversionWindow : public QWidget {
    Q_OBJECT

public:
    // mainWindow: shown again by "戻る" and by closing this window, and closed by "終了",
    // which ends the program.
    ConversionWindow(Messenger &messenger, CheckerWindow &checker, const QString &programFolder, QWidget *mainWindow,
                     QWidget *parent = nullptr);
    ~ConversionWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildPathRows();
    QWidget *buildCommandRow();

    void convert();
    void showOutput(bool shown);
    void reset();
    void togglePathView();
    void showHelp();
    void backToMain();
    void quitProgram();

    Messenger &messenger_;
    CheckerWindow &checker_;
    QString programFolder_;
    QWidget *mainWindow_;

    QComboBox *mode_ = nullptr;
    FilePicker *picker_ = nullptr;
    QLineEdit *input_ = nullptr;
    QLineEdit *output_ = nullptr;
    QWidget *outputLabel_ = nullptr;
    QPushButton *openOutput_ = nullptr;
    QPushButton *convertButton_ = nullptr;
    HelpWindow *help_ = nullptr;
    bool pathViewEnd_ = false;
};

} // namespace nikra
