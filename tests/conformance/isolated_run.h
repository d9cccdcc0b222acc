// Running one check in a child process of its own, so that a crash or a hang
// is seen as such and ends neither the run nor the machine's patience.
#pragma once

#include <functional>
#include <string>

namespace tarnwick::conformance {

// What `check` answered in the child (a short word), or "crash" when the
// child died without answering, or "hang" when it took longer than
// `seconds` and was killed.
std::string RunIsolated(const std::function<std::string()> &check, double seconds);

} // namespace tarnwick::conformance
