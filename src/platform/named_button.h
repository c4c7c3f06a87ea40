#pragma once
// A push button named as the program's documents name its control, so tests and users'
// notes can find it; it never reacts to the Enter key on its own.

#include <QPushButton>

namespace nikra {

inline QPushButton *namedButton(QWidget *parent, const QString &name, const QString &caption, const QString &tip = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace nikra
