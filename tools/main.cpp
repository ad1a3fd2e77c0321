#include <QCoreApplication>
#include <iostream>

#include "tools/net_commands.h"
#include "tools/simulator.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "serve" || args[0] == "join")) {
        // Network play runs on Qt's event loop; the rest needs none.
        QCoreApplication app(argc, argv);
        return zarv::sim::RunNetCommand(args, std::cout, std::cerr);
    }
    return zarv::sim::Run(args, std::cout, std::cerr);
}
