// The command line's --validate with --grammar: each file checked against
// the grammar named, whatever the file itself names, every error listed.
#pragma once

#include "app/command_line.h"

#include <cstddef>
#include <iosfwd>

namespace tarnwick {

// How many errors of one file the command line lists; the count of all is
// said after.
inline constexpr size_t kCommandLineListedProblems = 10000;

// "FILE: XML document is valid." on standard output, or each error as
// "FILE:LINE:COLUMN: message" on standard error. Exit status 0 only when
// every file is valid.
int RunGrammarValidateCommand(const CommandLine &line, std::ostream &out, std::ostream &err);

} // namespace tarnwick
