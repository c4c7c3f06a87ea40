#pragma once
// The main window ("Nikra"): six plot slots of three file names each, three file pickers,
// the header line and the program's commands. It keeps the slot set in the path memory
// file "Nikra.pth" and hands a drawn page to the canvas window.

#include "canvas/page_host.h"
#include "formats/path_memory.h"

#include <QWidget>

#include <array>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace nikra {

class CanvasWindow;
class CheckerWindow;
class ConversionWindow;
class DataSaveWindow;
class SearchWindow;
class FilePicker;
class HelpWindow;
class SettingsStore;

class MainWindow : public QWidget, public PageHost {
    Q_OBJECT

public:
    MainWindow(Messenger &messenger, SettingsStore &settings, const QString &programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: the size preset, then the slot set from the path memory file, or on a
    // first start the welcome and the sample slots.
    void start();

    // A path memory file chosen in the search window: the slots and the header text are
    // cleared, then every line the file holds is taken as at start-up.
    void loadSlotSet(const PathMemory &memory);

    // The draw command ("描画"): the canvas window comes up and draws; the path memory
    // files are written once the page is drawn.
    void draw();

    // PageHost
    SlotSet slots() const override;
    HeaderSettings header() const override;
    ViewState &view() override { return view_; }
    SelectionState &selection() override { return selection_; }
    Messenger &messenger() override { return messenger_; }
    double screenDpi() const override { return screenDpi_; }
    SettingsStore &settings() override { return settings_; }
    void keepSlotNames(const SlotSet &slots) override { setSlots(slots); }
    void canvasClosed(bool back) override;
    // The canvas pass over the slots as they stand, here and now (missing names are cleared).
    CanvasPage drawPage();

    void setScreenDpi(double dpi) { screenDpi_ = dpi; }
    QLineEdit *slotBox(int kind, int slot) const;  // kind 1 Format, 2 Graph, 3 Comment
    FilePicker *picker(int kind) const;
    CanvasWindow *canvasWindow() const { return canvas_; }
    int slotTarget() const { return slotTarget_; }
    PathMemory::Contents pathMemoryContents() const;

    // The side tools (created on first use).
    CheckerWindow *checker();
    ConversionWindow *conversionWindow() const { return conversion_; }
    DataSaveWindow *dataSaveWindow() const { return dataSave_; }
    SearchWindow *searchWindow() const { return search_; }
    // A slot's "*" button: its file in the checker (kind 1 Format, 2 Graph, 3 Comment).
    void openInChecker(int kind, int slot);
    void showConversion();  // "≫"
    void showDataSave();    // "保存"
    void showSearch();      // "検索"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPickers(QGridLayout *grid);
    void buildSlots(QGridLayout *grid);
    QWidget *buildHeaderRow();
    QWidget *buildCommandRow();

    void firstStart();
    void restore(const PathMemory &memory);
    void setSlots(const SlotSet &slots);
    void fileChosen(int kind, const QString &fullName);
    void cycleSize();
    void togglePathView();
    void showHelp();
    void openHomePage();
    void writePathMemoryCopies();
    // The end of the draw command, once its pass has ended.
    void freshPageDrawn(const CanvasPage &page);
    void refreshPickers();

    Messenger &messenger_;
    SettingsStore &settings_;
    QString programFolder_;
    double screenDpi_ = 96;

    std::array<FilePicker *, 3> pickers_{};
    std::array<std::array<QLineEdit *, 7>, 3> boxes_{};  // [kind - 1][slot], slot 1..6
    QLineEdit *headerText_ = nullptr;
    QComboBox *headerFace_ = nullptr;
    QComboBox *headerSize_ = nullptr;
    QComboBox *headerAlign_ = nullptr;
    QPushButton *sizeButton_ = nullptr;
    QPushButton *saveButton_ = nullptr;

    ViewState view_;
    SelectionState selection_;
    int slotTarget_ = 0;   // 10, 20 or 30 plus the slot: the box the next file click fills
    bool pathViewEnd_ = false;
    QPoint canvasPosition_;  // the canvas window's place before "戻る" first keeps one
    CanvasWindow *canvas_ = nullptr;
    HelpWindow *help_ = nullptr;
    CheckerWindow *checker_ = nullptr;
    ConversionWindow *conversion_ = nullptr;
    DataSaveWindow *dataSave_ = nullptr;
    SearchWindow *search_ = nullptr;
};

} // namespace nikra
