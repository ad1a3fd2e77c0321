#include <iostream>

#include "tools/simulator.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return zarv::sim::Run(args, std::cout, std::cerr);
}
