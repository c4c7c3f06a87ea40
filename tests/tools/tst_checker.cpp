#include <QtTest>

namespace {

class CheckerTest : public QObject {
    Q_OBJECT
};

} // namespace

int runCheckerTests(int argc, char **argv)
{
    CheckerTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_checker.moc"
