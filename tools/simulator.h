// zarv-sim: plays hands and whole games among four computer seats, headless.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarv::sim {

// Runs the command line (without the program name). Returns the exit status:
// 0 on success, 2 on bad use (with a message on err).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::sim
