#pragma once
// A strip above the page for the messages of redraws nobody asked for: "TITLE: TEXT" lines,
// the newest first, with a note when the last good page is kept, and a button that closes it.

#include <QWidget>

class QLabel;
class QListWidget;

namespace nikra {

class MessageStrip : public QWidget {
    Q_OBJECT

public:
    explicit MessageStrip(QWidget *parent = nullptr);

    // The messages of one redraw, in the order it met them; `keptPage`: the page on screen
    // is the last one drawn without them.
    void report(const QStringList &lines, bool keptPage);
    QStringList lines() const;  // as shown, the newest first
    bool keptPage() const;
    void clear();

private:
    QLabel *note_;
    QListWidget *list_;
};

} // namespace nikra
