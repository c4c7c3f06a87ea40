// The program's tests: the render (one page or a batch) and check commands end to end, and the
// windows driven through their controls.

#include <QApplication>

int runRenderTests(int argc, char **argv);
int runCheckTests(int argc, char **argv);
int runGuiTests(int argc, char **argv);
int runLiveTests(int argc, char **argv);
int runFileSafetyTests(int argc, char **argv);
int runBatchTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto run : {runRenderTests, runCheckTests, runGuiTests, runLiveTests, runFileSafetyTests, runBatchTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed;
}
