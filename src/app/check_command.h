#pragma once
// "nikra check": the canvas pass's reading and checks without writing a page. Every message
// the draw command would show is printed on standard output, in the order the pass meets
// the problems, for editors and build scripts.
//
//   nikra check [--slot N FORMAT [GRAPH [COMMENT]]]... | --pth FILE [--home DIR] [--quiet] [--json]

#include "app/page_inputs.h"

#include <QStringList>

#include <cstdio>

namespace nikra {

enum class CheckOutput {
    Lines,  // TITLE: TEXT
    Json,   // one JSON object a line
    Quiet,  // nothing: the exit status alone
};

struct CheckOptions {
    PageInputs inputs;
    CheckOutput output = CheckOutput::Lines;
};

using CheckParse = CommandArguments<CheckOptions>;

// args: what follows "check" on the command line.
CheckParse parseCheckArguments(const QStringList &args);
QString checkUsage();

// Exit status: 0 no messages, 1 messages, 2 the path memory file cannot be read.
int runCheck(const CheckOptions &options, std::FILE *out = stdout);

} // namespace nikra
