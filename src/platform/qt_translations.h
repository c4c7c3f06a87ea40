#pragma once
// Qt's own texts (the buttons of message boxes, the file and print dialogs) in Japanese,
// like the rest of the program.

class QCoreApplication;
class QTranslator;

namespace nikra {

// Loads Qt's Japanese catalogue from Qt's translation folder and installs it on the
// application, which owns it; null when the catalogue is not installed.
QTranslator *installQtJapanese(QCoreApplication &app);

} // namespace nikra
