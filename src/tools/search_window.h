#pragma once
// (to be written)

#include <QWidget>

namespace nikra {

class SearchWindow : public QWidget {
    Q_OBJECT

public:
    explicit SearchWindow(QWidget *parent = nullptr);
};

} // namespace nikra
