#include "cli/output_formats.h"
#include "cli/terminal_text.h"
#include "cli_process.h"

#include "fake_engine/fake_search_engine.h"
#include "search/site_catalogue.h"
#include "support/text_printing.h"
#include "text/codepage.h"
#include "ui/result_list_commands.h"
#include "ui/whole_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace shareseek {
namespace {

using namespace std::chrono_literals;
using fake::EngineFailure;
using fake::FakeSearchEngine;
using testing::CliOutput;
using testing::CliRun;
using testing::runCli;
using json = nlohmann::json;

std::string hostOf(int site) {
    return std::string(siteCatalogue()[static_cast<std::size_t>(site - 1)].shareHost);
}

// The command line for a search of `sites` against `engine`, quiet, in `format`.
std::vector<std::string> searchOf(const FakeSearchEngine& engine, std::vector<std::string> more,
                                  const std::string& format = "json") {
    std::vector<std::string> arguments{"--engine", engine.host(), "-q", "-f", format};
    arguments.insert(arguments.end(), more.begin(), more.end());
    arguments.push_back("电影");
    return arguments;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST(Cli, EachFormatHoldsTheSameRows) {
    FakeSearchEngine engine({.hitsPerPage = 3, .hitTitle = "a, \"quoted\" <em>电影</em>"});
    const std::vector<std::string> site{"-s", "5"};

    const CliRun asJson = runCli(searchOf(engine, site, "json"));
    ASSERT_EQ(asJson.status, 0) << asJson.err;
    const json document = json::parse(asJson.out);
    EXPECT_EQ(document["keyword"], "电影");
    ASSERT_EQ(document["rows"].size(), 3u);
    ASSERT_EQ(document["sites"].size(), 1u);
    EXPECT_EQ(document["sites"][0]["site"], "360云盘");
    EXPECT_EQ(document["sites"][0]["end"], "no_next_page");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(document["rows"][i]["n"], i + 1);
        EXPECT_EQ(document["rows"][i]["site"], "360云盘");
        EXPECT_EQ(document["rows"][i]["title"], "a, \"quoted\" 电影");
        EXPECT_EQ(document["rows"][i]["address"], fake::fakeHitAddress(hostOf(5), int(i)));
    }

    const CliRun asNdjson = runCli(searchOf(engine, site, "ndjson"));
    ASSERT_EQ(asNdjson.status, 0) << asNdjson.err;
    const std::vector<std::string> ndLines = lines(asNdjson.out);
    ASSERT_EQ(ndLines.size(), 4u); // three rows, then the site
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(json::parse(ndLines[i]), document["rows"][i]);
    EXPECT_EQ(json::parse(ndLines[3])["type"], "site");

    const CliRun asCsv = runCli(searchOf(engine, site, "csv"));
    ASSERT_EQ(asCsv.status, 0) << asCsv.err;
    EXPECT_EQ(asCsv.out,
              "n,site,title,address\r\n"
              "1,360云盘,\"a, \"\"quoted\"\" 电影\"," +
                  fake::fakeHitAddress(hostOf(5), 0) + "\r\n2,360云盘,\"a, \"\"quoted\"\" 电影\"," +
                  fake::fakeHitAddress(hostOf(5), 1) + "\r\n3,360云盘,\"a, \"\"quoted\"\" 电影\"," +
                  fake::fakeHitAddress(hostOf(5), 2) + "\r\n");

    const CliRun asTsv = runCli(searchOf(engine, site, "tsv"));
    ASSERT_EQ(asTsv.status, 0) << asTsv.err;
    const std::vector<std::string> tsvLines = lines(asTsv.out);
    ASSERT_EQ(tsvLines.size(), 4u);
    EXPECT_EQ(tsvLines[0], "n\tsite\ttitle\taddress");
    EXPECT_EQ(tsvLines[1], "1\t360云盘\ta, \"quoted\" 电影\t" + fake::fakeHitAddress(hostOf(5), 0));

    // Text is the export file's form, byte for byte, in code page 936.
    const CliRun asText = runCli(searchOf(engine, site, "text"));
    ASSERT_EQ(asText.status, 0) << asText.err;
    std::vector<ExportRow> rows;
    for (const json& row : document["rows"])
        rows.push_back({utf8ToText(row["title"].get<std::string>()),
                        utf8ToText(row["address"].get<std::string>())});
    EXPECT_EQ(asText.out, exportText(rows, {}).bytes());
}

TEST(Cli, ExitStatusSaysWhatCameOfTheSearch) {
    FakeSearchEngine found({.hitsPerPage = 1});
    FakeSearchEngine nothing({.hitsPerPage = 0});
    FakeSearchEngine verification({.failure = EngineFailure::verification});
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string saying; // part of the message on standard error
    };
    const Case cases[] = {
        {"rows found", searchOf(found, {"-s", "1"}), 0, ""},
        {"no row, every site answered", searchOf(nothing, {"-s", "1", "-s", "2"}), 1, ""},
        {"no row, a site asked for verification", searchOf(verification, {"-s", "1"}), 3, ""},
        {"an unknown site", searchOf(found, {"-s", "23"}), 2, "no such site: 23"},
        {"a site that is no site", searchOf(found, {"-s", "nowhere.example"}), 2, "no such site"},
        {"a bad number", searchOf(found, {"--pages", "x"}), 2, "--pages"},
        {"no pages at all", searchOf(found, {"--pages", "0"}), 2, "--pages"},
        {"--parallel 0", searchOf(found, {"-j", "0"}), 2, "--parallel"},
        {"an unknown format", searchOf(found, {}, "xml"), 2, "unknown format: xml"},
        {"an empty keyword", {"--engine", found.host(), " "}, 2, "the keyword is empty"},
        {"no keyword", {"--engine", found.host()}, 2, "KEYWORD"},
        {"an unknown option", {"--frobnicate", "x"}, 2, "frobnicate"},
        {"an output that cannot be written", searchOf(found, {"-o", "/nonexistent/rows.json"}), 2,
         "cannot write /nonexistent/rows.json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.saying), std::string::npos) << run.err;
        if (c.status == 2) {
            const bool usage = !c.saying.starts_with("cannot write");
            EXPECT_EQ(run.err.find("Usage: shareseek-cli") != std::string::npos, usage) << run.err;
            EXPECT_TRUE(run.out.empty());
        }
    }
    for (const char* asking : {"--help", "--version"}) {
        const CliRun run = runCli({asking});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("shareseek-cli"), std::string::npos);
    }
}

TEST(Cli, SitesByNumberCaptionAndHostAndExtraHosts) {
    FakeSearchEngine engine({.hitsPerPage = 1});
    const CliRun run = runCli(
        searchOf(engine, {"-s", "5", "-s", "百度网盘", "-s", "CTDISK.com", "--host", "my.host"}));
    ASSERT_EQ(run.status, 0) << run.err;
    std::set<std::string> asked;
    for (const auto& request : engine.requests())
        asked.insert(request.shareHost);
    EXPECT_EQ(asked,
              (std::set<std::string>{"pan.baidu.com", "yunpan.cn", "ctdisk.com", "my.host"}));
    const json document = json::parse(run.out);
    EXPECT_EQ(document["sites"][0]["site"], "360云盘"); // in the order named
    EXPECT_EQ(document["sites"][3]["site"], "my.host");
}

TEST(Cli, PagesAndDedupe) {
    FakeSearchEngine engine({.pages = 4, .hitsPerPage = 3, .hitAddress = "http://same/1"});
    const CliRun limited = runCli(searchOf(engine, {"-s", "1", "--pages", "2"}));
    ASSERT_EQ(limited.status, 0) << limited.err;
    EXPECT_EQ(engine.requestsFor(hostOf(1)).size(), 2u);
    EXPECT_EQ(json::parse(limited.out)["rows"].size(), 6u);
    EXPECT_EQ(json::parse(limited.out)["sites"][0]["end"], "page_cap");

    const CliRun deduped = runCli(searchOf(engine, {"-s", "1", "-s", "5", "--dedupe"}));
    ASSERT_EQ(deduped.status, 0) << deduped.err;
    const json rows = json::parse(deduped.out)["rows"];
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["n"], 1);
}

// With further pages fetched ahead, the rows and their stretches are those of one page at a
// time: only sooner.
TEST(Cli, ParallelPagingGivesTheSameRows) {
    FakeSearchEngine engine({.pages = 3, .hitsPerPage = 4});
    std::vector<std::string> sites;
    for (int site = 1; site <= 6; ++site) {
        engine.setBehaviour(hostOf(site), {.pages = 2 + site % 3,
                                           .hitsPerPage = 4,
                                           .latency = std::chrono::milliseconds(40 * site)});
        sites.insert(sites.end(), {"-s", std::to_string(site)});
    }
    const auto rowsWith = [&](const std::string& parallel) {
        std::vector<std::string> arguments = sites;
        arguments.insert(arguments.end(), {"-j", parallel});
        const CliRun run = runCli(searchOf(engine, arguments));
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out)["rows"];
    };
    const json one = rowsWith("1"), eight = rowsWith("8");
    EXPECT_EQ(one.size(), 4u * (3 + 4 + 2 + 3 + 4 + 2));
    EXPECT_EQ(one, eight);
}

TEST(Cli, ABrokenPipeEndsQuietly) {
    FakeSearchEngine engine({.pages = 5, .hitsPerPage = 50});
    const CliRun run = runCli(searchOf(engine, {}, "ndjson"), CliOutput::closedEarly);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(run.out.empty());
    EXPECT_EQ(run.err.find("rror"), std::string::npos) << run.err;
}

TEST(Cli, AnOutputFileIsWrittenWhole) {
    FakeSearchEngine engine({.hitsPerPage = 2});
    const auto folder = std::filesystem::temp_directory_path() / "shareseek-cli-test";
    std::filesystem::create_directories(folder);
    const auto file = folder / "rows.csv";
    const CliRun run = runCli(searchOf(engine, {"-s", "1", "-o", file.native()}, "csv"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    const auto written = readWholeFile(file);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(lines(*written).size(), 3u);
    std::filesystem::remove_all(folder);
}

// Titles come from pages we do not control: on a terminal an escape sequence is shown, not
// obeyed; JSON escapes it as JSON does; into a pipe the bytes stay.
TEST(Cli, ControlCharactersFromAPageNeverReachATerminal) {
    FakeSearchEngine engine({.hitsPerPage = 1, .hitTitle = "evil\x1b]0;owned\x07\x1b[2Jtitle"});
    const CliRun onTerminal = runCli(searchOf(engine, {"-s", "1"}, "tsv"), CliOutput::terminal);
    ASSERT_EQ(onTerminal.status, 0) << onTerminal.err;
    EXPECT_EQ(onTerminal.out.find('\x1b'), std::string::npos) << onTerminal.out;
    EXPECT_NE(onTerminal.out.find("evil^[]0;owned^G^[[2Jtitle"), std::string::npos)
        << onTerminal.out;
    const CliRun textOnTerminal =
        runCli(searchOf(engine, {"-s", "1"}, "text"), CliOutput::terminal);
    EXPECT_EQ(textOnTerminal.out.find('\x1b'), std::string::npos) << textOnTerminal.out;

    const CliRun asJson = runCli(searchOf(engine, {"-s", "1"}, "json"), CliOutput::terminal);
    EXPECT_NE(asJson.out.find("evil\\u001b]0;owned\\u0007\\u001b[2Jtitle"), std::string::npos)
        << asJson.out;
    const CliRun intoPipe = runCli(searchOf(engine, {"-s", "1"}, "tsv"));
    EXPECT_NE(intoPipe.out.find("evil\x1b]0;owned\x07\x1b[2Jtitle"), std::string::npos);
}

TEST(CliText, ShowsControlCharacters) {
    EXPECT_EQ(cli::visibleUtf8("a\x1b[1mb\x7F\t\xC2\x9B"
                               "c中"),
              "a^[[1mb^?^I<U+009B>c中");
    EXPECT_EQ(cli::visibleCp936(std::string("\xD6\xD0\x1b\x01", 4)), "\xD6\xD0^[^A");
    EXPECT_EQ(cli::csvField("plain"), "plain");
    EXPECT_EQ(cli::csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(cli::csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(cli::csvField("two\r\nlines"), "\"two\r\nlines\"");
}

} // namespace
} // namespace shareseek
