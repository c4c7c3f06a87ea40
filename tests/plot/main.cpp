// The plot tests: one executable, a test class per subject.

#include <QGuiApplication>

int runPassTests(int argc, char **argv);
int runLinesTests(int argc, char **argv);
int runTextTests(int argc, char **argv);
int runCurvesTests(int argc, char **argv);
int runPdfDocumentTests(int argc, char **argv);
int runRealDataTests(int argc, char **argv);
int runHeldPiecesTests(int argc, char **argv);

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    int failed = 0;
    for (auto run : {runPassTests, runLinesTests, runTextTests, runCurvesTests, runPdfDocumentTests, runRealDataTests,
                     runHeldPiecesTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed;
}
