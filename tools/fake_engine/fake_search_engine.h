#pragma once

#include "fake_engine/loopback_server.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace shareseek::fake {

// What the fake engine does for one share host.
enum class EngineFailure {
    none,
    refuse,      // reads the request, then resets the connection
    stall,       // reads the request and never answers
    errorPage,   // answers 500 with an error page
    otherLayout, // answers a page whose result links are indented differently
    // Hostile servers.
    headersThenStall, // answers the status and headers, then never the body
    hugeBody,         // answers a body of 200 MB
    brokenText,       // answers a page with invalid UTF-8, and a zero byte after its first hit
    hugeHeaders,      // answers with more than 5000 bytes of headers before the page
    redirectLoop,     // redirects to itself, forever
    resetMidBody,     // sends half the page, then resets the connection
    // Answers of today's engine.
    moved,        // moves every "/s?..." to "/r/s?..." and serves the pages there
    verification, // moves the request to its verification path, which serves the page
                  // "百度安全验证" ("网络不给力，请稍后重试")
    todaysLayout, // serves pages in today's layout: hit blocks with varied attributes
    unreadable,   // serves a page with no results and no results list at all
};

struct HostBehaviour {
    int pages = 1;       // pages served; every page but the last shows the next-page marker
    int hitsPerPage = 3; // hits on each page
    std::chrono::milliseconds latency{0};
    EngineFailure failure = EngineFailure::none;
    std::string hitAddress; // when set, the address of every hit, as a hostile page lists it
    std::string hitTitle;   // when set, the title of every hit (UTF-8, as the page writes it)
};

// One request as the engine understood it.
struct EngineRequest {
    std::string path;
    std::string shareHost; // from "site:<host> <keyword>"
    std::string keyword;   // UTF-8
    int pageOffset = -1;
};

// The content of one results page, in the layout of the real engine.
struct PageContent {
    std::string shareHost;
    std::string keyword; // UTF-8
    int pageOffset = 0;
    int hits = 0;
    bool nextPage = false;
    std::size_t paddingBytes = 0; // markup around the results, as real pages carry
    bool otherLayout = false;
    std::string hitAddress; // when set, every hit's address
    std::string hitTitle;   // when set, every hit's title
};

// The title (UTF-8, with the keyword wrapped in <em> and </em>) and address of hit `number`
// (from 0, counted across pages) of a host and keyword.
std::string fakeHitTitle(const std::string& shareHost, const std::string& keyword, int number);
std::string fakeHitAddress(const std::string& shareHost, int number);
// The title of hit `number` on today's layout, as the page writes it (tags, references and
// line breaks in it), and as a reader should give it (UTF-8).
std::string fakeTodaysTitleHtml(const std::string& shareHost, const std::string& keyword,
                                int number);
std::string fakeTodaysTitle(const std::string& shareHost, const std::string& keyword, int number);

std::string renderResultsPage(const PageContent& content);
// The same content in today's layout: every hit a block whose heading holds its link, with
// "<em>" and character references in the title, attributes in varied order, and many other
// links around.
std::string renderTodaysPage(const PageContent& content);
// The page the engine shows a client it takes for a robot.
std::string renderVerificationPage();

// Where the fake engine moves requests for verification.
inline constexpr std::string_view fakeVerificationPath = "/static/captcha/index.html";

// A results-page server on loopback: answers "/s?wd=site%3A<host>%20<keyword>&pn=<n>..." with
// deterministic UTF-8 pages, and records every request.
class FakeSearchEngine {
public:
    explicit FakeSearchEngine(HostBehaviour defaults = {}, std::size_t paddingBytes = 4096);

    // "127.0.0.1:port", to stand in for the search host.
    std::string host() const { return server_.hostAndPort(); }
    void setBehaviour(const std::string& shareHost, HostBehaviour behaviour);
    std::vector<EngineRequest> requests() const;
    std::vector<EngineRequest> requestsFor(const std::string& shareHost) const;
    void stop();

    // A gate: requests for `shareHost` are taken and recorded, but answered only once the
    // host is released (or the engine stops). Lets a test decide the order of answers.
    void hold(const std::string& shareHost);
    void release(const std::string& shareHost);
    // Waits until `count` requests for `shareHost` have arrived; false when `timeout` passes
    // first.
    bool waitForRequests(const std::string& shareHost, std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

private:
    void serve(Connection& connection);
    void answer(Connection& connection, const EngineRequest& parsed);
    void waitAtGate(const std::string& shareHost, const Connection& connection);
    HostBehaviour behaviourFor(const std::string& shareHost) const;

    HostBehaviour defaults_;
    std::size_t paddingBytes_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::map<std::string, HostBehaviour> behaviours_;
    std::vector<EngineRequest> requests_;
    std::set<std::string> held_;
    bool stopping_ = false;
    LoopbackServer server_;
};

} // namespace shareseek::fake
