#pragma once
// The help document, in a window of its own.

#include <QTextBrowser>

namespace nikra {

class HelpWindow : public QTextBrowser {
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    void showAt(const QString &anchor = {});
};

} // namespace nikra
