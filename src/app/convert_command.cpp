#include "app/convert_command.h"

#include "app/stream_messenger.h"
#include "tools/conversion.h"

#include <cstdio>
#include <optional>

namespace nikra {

namespace {

std::optional<ConversionMode> modeOf(const QString &name)
{
    if (name == u"parallel-to-serial")
        return ConversionMode::ParallelToSerial;
    if (name == u"serial-to-parallel")
        return ConversionMode::SerialToParallel;
    if (name == u"serial-difference")
        return ConversionMode::SerialDifference;
    return std::nullopt;
}

int badArguments(const QString &why)
{
    const QString text = QStringLiteral("nikra convert: %1\nTry 'nikra convert --help'.\n").arg(why);
    print(stderr, text);
    return 2;
}

} // namespace

QString convertUsage()
{
    return QStringLiteral(
        "Usage: nikra convert MODE INPUT [-o OUTPUT]\n"
        "\n"
        "Rewrites a numeric data file into another layout, as the conversion window does.\n"
        "\n"
        "MODE:\n"
        "  parallel-to-serial   a table (x, then one column per series) becomes one data\n"
        "                       block per series, all sharing the x column\n"
        "  serial-to-parallel   data blocks become a table: the x of the last block, then\n"
        "                       the y of each block\n"
        "  serial-difference    the data blocks, followed by block 1 minus block 2,\n"
        "                       block 2 minus block 3, and so on\n"
        "\n"
        "Options:\n"
        "  -o OUTPUT   the file to write (default: INPUT with \"#\" before the last \".\" of\n"
        "              its name, or after a name without \".\": g01.dat gives g01#.dat)\n"
        "  -h, --help  show this text\n"
        "\n"
        "The output path is printed on standard output when the file is written; messages go\n"
        "to standard error. Exit status: 0 written, 1 nothing written, 2 bad arguments.\n");
}

int runConvertCommand(const QStringList &args)
{
    QStringList positional;
    std::optional<QString> output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == u"-h" || a == u"--help") {
            print(stdout, convertUsage());
            return 0;
        }
        if (a == u"-o" || a == u"--output") {
            if (i + 1 >= args.size())
                return badArguments(QStringLiteral("%1 needs a file name").arg(a));
            if (output)
                return badArguments(QStringLiteral("only one output file may be given"));
            output = args.at(++i);
            if (output->isEmpty())
                return badArguments(QStringLiteral("the output file name is empty"));
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return badArguments(QStringLiteral("unknown option '%1'").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() < 2)
        return badArguments(QStringLiteral("a mode and an input file are needed"));
    if (positional.size() > 2)
        return badArguments(QStringLiteral("unexpected argument '%1'").arg(positional.at(2)));
    const std::optional<ConversionMode> mode = modeOf(positional.at(0));
    if (!mode)
        return badArguments(QStringLiteral("unknown mode '%1'").arg(positional.at(0)));

    const QString input = positional.at(1);
    const QString outputPath = output.value_or(conversionOutputPath(input));
    const ConversionOutcome outcome = convertFile(*mode, input, outputPath);
    if (!outcome.written) {
        StreamMessenger messenger;
        messenger.warn(conversionTitle(), outcome.message());
        return 1;
    }
    print(stdout, outputPath + u'\n');
    return 0;
}

} // namespace nikra
