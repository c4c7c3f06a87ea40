#pragma once
// (to be written)

#include <QWidget>

namespace nikra {

class DataSaveWindow : public QWidget {
    Q_OBJECT

public:
    explicit DataSaveWindow(QWidget *parent = nullptr);
};

} // namespace nikra
