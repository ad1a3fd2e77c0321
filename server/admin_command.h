// "zarv-server admin": an admin's sanctions on names and addresses, made in
// the results database (SQLite or PostgreSQL) while the server runs; the
// server applies them within seconds.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zarv::server {

// args: what follows "admin". Returns the exit code.
int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::server
