#include <QtTest>

namespace {

class ConversionTest : public QObject {
    Q_OBJECT
};

} // namespace

int runConversionTests(int argc, char **argv)
{
    ConversionTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_conversion.moc"
