#include "cli/output_formats.h"

#include "cli/terminal_text.h"
#include "search/outcome_text.h"
#include "text/codepage.h"
#include "ui/result_list_commands.h"

#include <nlohmann/json.hpp>

namespace shareseek::cli {
namespace {

using nlohmann::json;

std::string utf8(const Text& text) {
    return textToUtf8(text);
}

const char* endName(SiteEnd end) {
    switch (end) {
    case SiteEnd::running:
        return "running";
    case SiteEnd::noNextPage:
        return "no_next_page";
    case SiteEnd::pageCap:
        return "page_cap";
    case SiteEnd::verification:
        return "verification";
    case SiteEnd::unreadablePage:
        return "unreadable_page";
    case SiteEnd::networkFailure:
        return "network_failure";
    case SiteEnd::aborted:
        return "aborted";
    }
    return "";
}

json rowJson(const Row& row) {
    return {{"n", row.number},
            {"site", utf8(row.site)},
            {"title", utf8(row.title)},
            {"address", utf8(row.address)}};
}

json outcomeJson(const SiteOutcome& outcome) {
    return {{"site", utf8(outcome.caption)},
            {"host", utf8(outcome.host)},
            {"pages", outcome.pages},
            {"rows", outcome.rows},
            {"seconds", static_cast<double>(outcome.elapsed.count()) / 1000.0},
            {"end", endName(outcome.end)},
            {"reason", utf8(outcome.reason)},
            {"status", utf8(endText(outcome))}};
}

std::string dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// The export file's form: rows kept, written whole at the end.
class TextWriter : public RowWriter {
public:
    TextWriter(ByteSink sink, bool toTerminal) : sink_(std::move(sink)), toTerminal_(toTerminal) {}
    bool row(const Row& row) override {
        rows_.push_back({row.title, row.address});
        return true;
    }
    bool end(const std::vector<SiteOutcome>&) override {
        if (toTerminal_)
            for (ExportRow& row : rows_)
                row = {Text(visibleCp936(row.title.view())),
                       Text(visibleCp936(row.address.view()))};
        return sink_(exportText(rows_, {}).view());
    }

private:
    ByteSink sink_;
    bool toTerminal_;
    std::vector<ExportRow> rows_;
};

// Tab-separated, a header line first, a row a line as it is known. A tab or line break
// inside a field would cut it, so those are written as spaces.
class TsvWriter : public RowWriter {
public:
    TsvWriter(ByteSink sink, bool toTerminal) : sink_(std::move(sink)), toTerminal_(toTerminal) {}
    bool row(const Row& row) override {
        if (!headerWritten_ && !sink_("n\tsite\ttitle\taddress\n"))
            return false;
        headerWritten_ = true;
        return sink_(std::to_string(row.number) + "\t" + field(row.site) + "\t" + field(row.title) +
                     "\t" + field(row.address) + "\n");
    }
    bool end(const std::vector<SiteOutcome>&) override {
        return headerWritten_ || sink_("n\tsite\ttitle\taddress\n");
    }

private:
    std::string field(const Text& text) const {
        std::string out = utf8(text);
        if (toTerminal_)
            return visibleUtf8(out);
        for (char& c : out)
            if (c == '\t' || c == '\n' || c == '\r')
                c = ' ';
        return out;
    }
    ByteSink sink_;
    bool toTerminal_;
    bool headerWritten_ = false;
};

class CsvWriter : public RowWriter {
public:
    explicit CsvWriter(ByteSink sink) : sink_(std::move(sink)) {}
    bool row(const Row& row) override {
        if (!headerWritten_ && !sink_("n,site,title,address\r\n"))
            return false;
        headerWritten_ = true;
        return sink_(std::to_string(row.number) + "," + csvField(utf8(row.site)) + "," +
                     csvField(utf8(row.title)) + "," + csvField(utf8(row.address)) + "\r\n");
    }
    bool end(const std::vector<SiteOutcome>&) override {
        return headerWritten_ || sink_("n,site,title,address\r\n");
    }

private:
    ByteSink sink_;
    bool headerWritten_ = false;
};

class JsonWriter : public RowWriter {
public:
    JsonWriter(const Text& keyword, ByteSink sink) : sink_(std::move(sink)) {
        document_["keyword"] = utf8(keyword);
        document_["rows"] = json::array();
    }
    bool row(const Row& row) override {
        document_["rows"].push_back(rowJson(row));
        return true;
    }
    bool end(const std::vector<SiteOutcome>& outcomes) override {
        document_["sites"] = json::array();
        for (const SiteOutcome& outcome : outcomes)
            document_["sites"].push_back(outcomeJson(outcome));
        return sink_(dump(document_) + "\n");
    }

private:
    ByteSink sink_;
    json document_;
};

// One JSON object a line: each row when it is known, then each site's outcome.
class NdjsonWriter : public RowWriter {
public:
    explicit NdjsonWriter(ByteSink sink) : sink_(std::move(sink)) {}
    bool row(const Row& row) override { return sink_(dump(rowJson(row)) + "\n"); }
    bool end(const std::vector<SiteOutcome>& outcomes) override {
        for (const SiteOutcome& outcome : outcomes) {
            json line = outcomeJson(outcome);
            line["type"] = "site";
            if (!sink_(dump(line) + "\n"))
                return false;
        }
        return true;
    }

private:
    ByteSink sink_;
};

} // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::unique_ptr<RowWriter> makeRowWriter(Format format, const Text& keyword, ByteSink sink,
                                         bool toTerminal) {
    switch (format) {
    case Format::text:
        return std::make_unique<TextWriter>(std::move(sink), toTerminal);
    case Format::tsv:
        return std::make_unique<TsvWriter>(std::move(sink), toTerminal);
    case Format::csv:
        return std::make_unique<CsvWriter>(std::move(sink));
    case Format::json:
        return std::make_unique<JsonWriter>(keyword, std::move(sink));
    case Format::ndjson:
        return std::make_unique<NdjsonWriter>(std::move(sink));
    }
    return nullptr;
}

} // namespace shareseek::cli
