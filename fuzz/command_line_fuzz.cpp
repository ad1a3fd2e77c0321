// zarv-sim's command line and the card parsers: the input is split into
// arguments at newlines. Only "hand" is played (whole games would only take
// time), and no file is opened.
#include <sstream>
#include <string>
#include <vector>

#include "engine/card.h"
#include "fuzz/fuzz_target.h"
#include "tools/simulator.h"

ZARV_FUZZ_TARGET {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto code = zarv::CardCode::Parse(text)) ZARV_FUZZ_CHECK(code->text() == text);
    std::vector<std::string> args{"hand"};
    std::istringstream lines(text);
    for (std::string arg; std::getline(lines, arg);) args.push_back(arg);
    for (const std::string& arg : args)
        if (arg == "--file") return 0;
    std::ostringstream out, err;
    const int status = zarv::sim::Run(args, out, err);
    ZARV_FUZZ_CHECK(status == 0 || status == 2);
    ZARV_FUZZ_CHECK(status == 0 || !err.str().empty());
    return 0;
}
