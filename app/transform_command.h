// The command line's --transform: a stylesheet run over a file, the result
// written to -o OUT or standard output.
#pragma once

#include "app/command_line.h"

#include <iosfwd>

namespace tarnwick {

// The result's bytes as its xsl:output says; each message of the stylesheet
// (xsl:message, warnings) as "XSL:LINE: message" on standard error. Exit
// status 0 when the transform ran, 2 when the file, the stylesheet or the
// transform failed.
int RunTransformCommand(const CommandLine &line, std::ostream &out, std::ostream &err);

} // namespace tarnwick
