#pragma once

#include "cli/options.h"
#include "cli/ordered_search.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The forms the rows are written in. Text is byte for byte the export file's form (code page
// 936); the others are UTF-8.
namespace shareseek::cli {

// Where the bytes go; false when they could not be written (the reader went away).
using ByteSink = std::function<bool(std::string_view)>;

class RowWriter {
public:
    virtual ~RowWriter() = default;
    // Each row as it is known; a form that needs every row first keeps it.
    virtual bool row(const Row& row) = 0;
    // After the last row, with every site's outcome.
    virtual bool end(const std::vector<SiteOutcome>& outcomes) = 0;
};

// `toTerminal`: the bytes go to a terminal, so control characters in titles and addresses of
// the text and TSV forms are shown, not sent (JSON escapes them always; CSV and anything
// bound for a file or a pipe keep the bytes).
std::unique_ptr<RowWriter> makeRowWriter(Format format, const Text& keyword, ByteSink sink,
                                         bool toTerminal);

// A CSV field as RFC 4180 has it: quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view utf8);

} // namespace shareseek::cli
