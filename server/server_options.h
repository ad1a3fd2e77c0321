// The command line of zarv-server: every limit has a flag and a default.
#pragma once

#include <string>
#include <vector>

#include "server/socket_server.h"
#include "server/web_port.h"

namespace zarv::server {

struct ServerOptions {
    int port = 1001;
    ServerLimits limits;
    std::string db;
    std::string certificate, key;  // both or neither: the main port speaks TLS
    int plainPort = -1;            // a second port without TLS (-1: none)
    int webPort = -1;              // the web client's HTTP(S) and WebSocket port (-1: none)
    std::string webRoot;           // the web client's files (empty: the built or installed ones)
    WebLimits web;
    bool help = false;
};

// Throws cmdline::UsageError with a message that names the problem.
ServerOptions ParseServerOptions(const std::vector<std::string>& args);
extern const char* const kServerHelp;

} // namespace zarv::server
