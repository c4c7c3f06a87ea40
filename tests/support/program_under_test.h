#pragma once
// A program folder with the samples, a settings file, and the main window over them, with
// the messages recorded (for the tests that link the whole program).

#include "app/main_window.h"
#include "canvas/canvas_window.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "support/recording_messenger.h"
#include "support/test_files.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

namespace nikra::test {

struct Program {
    TestDir home;
    RecordingMessenger messages;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<MainWindow> main;

    Program() { seedSamples(home.root()); }
    MainWindow &start()
    {
        settings = std::make_unique<SettingsStore>(home.path(QStringLiteral("settings.ini")));
        main = std::make_unique<MainWindow>(messages, *settings, home.root());
        main->setScreenDpi(96);
        main->start();
        return *main;
    }
    QString path(const QString &name) const { return home.path(name); }
    QString root() const { return home.root(); }
    template <class T> T *find(QWidget *in, const QString &name) const { return in->findChild<T *>(name); }
    void click(QWidget *in, const QString &button) const
    {
        QTest::mouseClick(find<QPushButton>(in, button), Qt::LeftButton);
    }
    CanvasWindow &canvas() const { return *main->canvasWindow(); }
    // Waits for the canvas window's passes: the one running and those asked for meanwhile.
    bool passesDone() const
    {
        return QTest::qWaitFor([this] { return !canvas().passRunning(); }, 10000);
    }
    // The draw command, to its end: the page drawn, the path memory files written.
    void draw() const
    {
        main->draw();
        passesDone();
    }
    QPushButton *canvasButton(const QString &name) const { return canvas().findChild<QPushButton *>(name); }
};

} // namespace nikra::test
