#pragma once

#include "cli/ordered_search.h"

#include <optional>
#include <string>
#include <variant>

// The command line of shareseek-cli.
namespace shareseek::cli {

enum class Format { text, tsv, csv, json, ndjson };

struct Options {
    SearchPlan plan;
    Format format = Format::text;
    std::optional<std::string> output; // a file (platform bytes); standard output without
    bool quiet = false;
};

// What the command line asked for: a search, or a text to print and an exit status
// (--help, --version, or a usage error with its message).
struct Exit {
    std::string text;
    int status = 0;
};
using Parsed = std::variant<Options, Exit>;

Parsed parseCommandLine(int argc, const char* const* argv);

// A site named on the command line: its number (1-22), its caption (UTF-8), or its host.
std::optional<SearchSite> findSite(const std::string& name);

inline constexpr const char* cliVersionText = "shareseek-cli " SHARESEEK_VERSION;

} // namespace shareseek::cli
