// The data tools: their file logic, their windows driven through their controls, and their
// command-line forms.

#include <QApplication>

int runCheckerTests(int argc, char **argv);
int runConversionTests(int argc, char **argv);
int runDataSaveTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto run : {runCheckerTests, runConversionTests, runDataSaveTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed;
}
