// zarv-sim serve and zarv-sim join: a Dealer and a bot client over TCP.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarv::sim {

// Runs "serve ..." or "join ..." (args[0] names which). Returns the exit status.
int RunNetCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::sim
