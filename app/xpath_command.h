// The command line's --xpath: an expression evaluated over a file, each
// selected node on a line of its own, or the value the expression gives.
#pragma once

#include "app/command_line.h"

#include <cstddef>
#include <iosfwd>

namespace tarnwick {

// How many nodes the command line lists; the count of all is said after.
inline constexpr size_t kCommandLineListedNodes = 10000;

// "FILE:LINE: PATH: TEXT" for each node (the document's own node has no
// line), or the number, string or boolean alone. Exit status 0 when
// something was selected or a value given, 1 for an empty node-set, 2 when
// the file or the expression failed.
int RunXPathCommand(const CommandLine &line, std::ostream &out, std::ostream &err);

} // namespace tarnwick
