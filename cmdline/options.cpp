#include "cmdline/options.h"

#include <charconv>

namespace zarv::cmdline {

std::map<std::string, std::string> ParseOptions(const std::vector<std::string>& args, size_t from,
                                                const std::set<std::string>& known) {
    std::map<std::string, std::string> options;
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (!known.count(name)) throw UsageError{"unknown option '" + name + "'"};
        if (i + 1 >= args.size()) throw UsageError{"option " + name + " needs a value"};
        if (options.count(name)) throw UsageError{"option " + name + " given twice"};
        options[name] = args[++i];
    }
    return options;
}

int ParseSeat(const std::string& text, const std::string& what) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return text[0] - '0';
    throw UsageError{what + " must be a seat from 1 to 4, not '" + text + "'"};
}

long long ParseWhole(const std::string& text, const std::string& what, long long min) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError{what + " must be a whole number, not '" + text + "'"};
    const long long v = std::stoll(text);
    if (v < min) throw UsageError{what + " must be at least " + std::to_string(min)};
    return v;
}

long long ParseWhole(const std::string& text, const std::string& what, long long min, long long max) {
    const long long v = ParseWhole(text, what, min);
    if (v > max) throw UsageError{what + " must be at most " + std::to_string(max)};
    return v;
}

uint64_t ParseSeed(const std::string& text, const std::string& what) {
    uint64_t v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw UsageError{what + " must be a whole number from 0 to 18446744073709551615, not '" + text + "'"};
    return v;
}

} // namespace zarv::cmdline
