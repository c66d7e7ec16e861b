#include "cli/options.h"

#include "search/endpoints.h"
#include "search/search_session.h"
#include "search/site_catalogue.h"
#include "text/codepage.h"
#include "text/text_ops.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <map>

namespace shareseek::cli {
namespace {

SearchSite siteOf(const Site& site) {
    return {site.index, literal(site.caption), Text(site.shareHost)};
}

const std::map<std::string, Format> formats{{"text", Format::text},
                                            {"tsv", Format::tsv},
                                            {"csv", Format::csv},
                                            {"json", Format::json},
                                            {"ndjson", Format::ndjson}};

constexpr const char* footer =
    "Rows come in the order the sites' first pages arrived, each site's rows in page order,\n"
    "numbered across sites, as in the window. With --parallel K the further pages of waiting\n"
    "sites are fetched ahead, at most K at a time: the rows are the same, only sooner. The\n"
    "default is 1 because many requests at once make the engine ask for verification sooner.\n"
    "\n"
    "Exit status: 0 rows were found; 1 no row, and every site answered; 3 no row, and at least\n"
    "one site failed (verification or network); 2 a usage error.";

Exit usageError(const std::string& what) {
    return {"shareseek-cli: " + what +
                "\nUsage: shareseek-cli [options] KEYWORD (shareseek-cli --help for the options)\n",
            2};
}

} // namespace

std::optional<SearchSite> findSite(const std::string& name) {
    int number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    const bool numeric = error == std::errc() && end == name.data() + name.size();
    const Text asText = utf8ToText(name);
    for (const Site& site : siteCatalogue()) {
        if ((numeric && site.index == number) || literal(site.caption) == asText ||
            asciiLower(asText) == Text(site.shareHost))
            return siteOf(site);
    }
    return std::nullopt;
}

Parsed parseCommandLine(int argc, const char* const* argv) {
    CLI::App app{"Searches public share sites for a keyword through the web search engine and "
                 "prints every hit's title and address.",
                 "shareseek-cli"};
    app.footer(footer);
    app.set_version_flag("--version", cliVersionText);
    std::string keyword;
    std::vector<std::string> siteNames, hosts;
    int pages = maxPagesPerSite, parallel = 1;
    double timeout = 0;
    std::string format = "text", engine(endpoints::searchHost), proxy;
    Options options;
    app.add_option("KEYWORD", keyword, "what to search for")->required();
    app.add_option("-s,--site", siteNames,
                   "a built-in site by number (1-22), caption (百度网盘) or host; repeatable; "
                   "default: all 22");
    app.add_option("--host", hosts, "an extra share host, as in the extra-sites list; repeatable");
    app.add_option("--pages", pages, "at most N pages per site (default: all, up to the page cap)");
    app.add_option("-j,--parallel", parallel,
                   "up to K further pages in flight at once (default 1: one at a time, as the "
                   "window does)");
    app.add_option("-f,--format", format, "text (the export file's form), tsv, csv, json, ndjson");
    app.add_option("-o,--output", options.output, "write there (default: standard output)");
    app.add_flag("--dedupe", options.plan.dedupe,
                 "leave out a row whose address was already given");
    app.add_option("--engine", engine, "the search engine's host[:port] (default: the real one)");
    app.add_option("--timeout", timeout, "seconds one page may take at most");
    app.add_option("--proxy", proxy, "fetch through this proxy (host:port)");
    app.add_flag("-q,--quiet", options.quiet, "no progress");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return Exit{app.help(), 0};
    } catch (const CLI::CallForVersion&) {
        return Exit{std::string(cliVersionText) + "\n", 0};
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    }

    if (stripSpaces(utf8ToText(keyword)).empty())
        return usageError("the keyword is empty");
    if (pages < 1)
        return usageError("--pages must be at least 1");
    if (parallel < 1)
        return usageError("--parallel must be at least 1");
    if (timeout < 0)
        return usageError("--timeout must not be negative");
    const auto found = formats.find(format);
    if (found == formats.end())
        return usageError("unknown format: " + format + " (text, tsv, csv, json, ndjson)");
    options.format = found->second;
    for (const std::string& name : siteNames) {
        const std::optional<SearchSite> site = findSite(name);
        if (!site)
            return usageError("no such site: " + name);
        options.plan.sites.push_back(*site);
    }
    if (siteNames.empty())
        for (const Site& site : siteCatalogue())
            options.plan.sites.push_back(siteOf(site));
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        const Text host = utf8ToText(hosts[i]);
        if (host.empty() || searchForward(host, Text(";")) > 0)
            return usageError("not a host: " + hosts[i]);
        options.plan.sites.push_back({firstExtraSiteIndex + static_cast<int>(i), host, host});
    }
    options.plan.searchHost = engine;
    options.plan.keyword = utf8ToText(keyword);
    options.plan.maxPages = std::min(pages, maxPagesPerSite);
    options.plan.parallel = parallel;
    if (timeout > 0) {
        const auto seconds =
            std::chrono::seconds(std::max<long long>(1, static_cast<long long>(timeout)));
        options.plan.limits.totalTimeout = seconds;
        options.plan.limits.stallTimeout = std::min(options.plan.limits.stallTimeout, seconds);
        options.plan.limits.connectTimeout =
            std::min(options.plan.limits.connectTimeout,
                     std::chrono::milliseconds(static_cast<long long>(timeout * 1000)));
    }
    if (!proxy.empty())
        options.plan.proxyAddress = Text(proxy);
    return options;
}

} // namespace shareseek::cli
