#pragma once
// Runs the built program (NIKRA_BINARY, defined by every test target that starts it) and
// keeps its exit status and what it wrote.

#include <QProcess>
#include <QStringList>

namespace nikra::test {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Run runNikra(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NIKRA_BINARY), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace nikra::test
