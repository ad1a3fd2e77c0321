#include <QCoreApplication>
#include <iostream>

#include "tools/net_commands.h"
#include "tools/simulator.h"

namespace {
int Main(int argc, char** argv, const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "serve" || args[0] == "join" || args[0] == "load")) {
        // Network play runs on Qt's event loop; the rest needs none. A load
        // runs thousands of bots, each on a thread with an event loop of its
        // own: Qt's own dispatcher costs them less than glib's.
        if (args[0] == "load") qputenv("QT_NO_GLIB", "1");
        QCoreApplication app(argc, argv);
        return zarv::sim::RunNetCommand(args, std::cout, std::cerr);
    }
    return zarv::sim::Run(args, std::cout, std::cerr);
}
} // namespace

int main(int argc, char** argv) {
    const int status = Main(argc, argv, std::vector<std::string>(argv + 1, argv + argc));
    // Output that could not be written (a full disk, a closed pipe) is a failure.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "zarv-sim: cannot write the output\n";
        return status != 0 ? status : 1;
    }
    return status;
}
