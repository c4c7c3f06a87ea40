#include <QtTest>

namespace {

class DataSaveTest : public QObject {
    Q_OBJECT
};

} // namespace

int runDataSaveTests(int argc, char **argv)
{
    DataSaveTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_data_save.moc"
