#include "web/http_exchange.h"

#include "fake_engine/loopback_server.h"
#include "support/text_printing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <mutex>
#include <thread>

namespace shareseek {
namespace {

using fake::Connection;
using fake::httpResponse;
using fake::LoopbackServer;
using testing::T;
using namespace std::chrono_literals;

// Answers every request with `reply` and keeps the exact bytes of each request.
class CaptureServer {
public:
    explicit CaptureServer(std::string reply = httpResponse("hello"))
        : reply_(std::move(reply)), server_([this](Connection& c) { serve(c); }) {}

    std::string url(std::string_view path = "/") const { return server_.url(path); }
    std::string hostAndPort() const { return server_.hostAndPort(); }
    std::vector<std::string> requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::string lastRequest() {
        const auto all = requests();
        return all.empty() ? std::string() : all.back();
    }

private:
    void serve(Connection& c) {
        while (const auto request = c.readRequest()) {
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(*request);
            }
            c.send(reply_);
        }
    }

    std::string reply_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
    LoopbackServer server_;
};

std::string headOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

TEST(HttpExchange, WorkerGetSendsTheDefaultHeaderTextByteForByte) {
    CaptureServer server;
    const std::string address = server.url("/s?wd=site%3Aa.com%20x&pn=0");
    const Bytes body = fetch(T(address));
    EXPECT_EQ(body, "hello");
    EXPECT_EQ(server.lastRequest(),
              "GET /s?wd=site%3Aa.com%20x&pn=0 HTTP/1.1\r\n"
              "Host: " +
                  server.hostAndPort() +
                  "\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QX7ZA; .NET CLR "
                  "2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)\r\n"
                  "Referer: " +
                  address +
                  "\r\n"
                  "Accept: */*\r\n"
                  "Accept-Language: zh-cn\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
}

TEST(HttpExchange, SendsTheCallersHeadersWithoutDuplicates) {
    struct Case {
        const char* name;
        std::string extra;
        std::optional<Text> cookie;
        std::vector<std::string> expectedLines;
        std::vector<std::string> absentLines;
    };
    const Case cases[] = {
        {"lower-case user agent line is the agent",
         "user-agent: Bot/2\r\n",
         {},
         {"user-agent: Bot/2\r\n"},
         {"User-Agent: Mozilla"}},
        {"user agent line without a line break",
         "User-Agent: Solo/1",
         {},
         {"User-Agent: Solo/1\r\nReferer: "},
         {"Mozilla"}},
        {"lower-case referer does not count",
         "referer: r",
         {},
         {"referer: r\r\n", "\r\nReferer: http://"},
         {}},
        {"Accept-Language alone still gets Accept",
         "Accept-Language: en",
         {},
         {"Accept-Language: en\r\n", "Accept: */*\r\n"},
         {"zh-cn"}},
        {"cookie text beside a Cookie line",
         "Cookie: a=1",
         T("b=2"),
         {"Cookie: a=1\r\n", "Cookie: b=2\r\n"},
         {}},
        {"an empty line inside is left out",
         "X-A: 1\r\n\r\nX-B: 2",
         {},
         {"X-A: 1\r\nX-B: 2\r\n"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CaptureServer server;
        HttpExchange exchange{
            .address = T(server.url("/p")), .cookieText = c.cookie, .extraHeaders = T(c.extra)};
        performExchange(exchange);
        const std::string head = headOf(server.lastRequest());
        for (const std::string& line : c.expectedLines)
            EXPECT_NE(head.find(line), std::string::npos) << line << "\n" << head;
        for (const std::string& line : c.absentLines)
            EXPECT_EQ(head.find(line), std::string::npos) << line << "\n" << head;
        EXPECT_EQ(head.find("Accept: */*"), head.rfind("Accept: */*")) << head;
    }
}

TEST(HttpExchange, MethodsAndBodies) {
    CaptureServer server;
    HttpExchange post{.address = T(server.url("/form")), .method = 1, .formText = T("a=1&b=2")};
    performExchange(post);
    std::string request = server.lastRequest();
    EXPECT_TRUE(request.starts_with("POST /form HTTP/1.1\r\n")) << request;
    EXPECT_TRUE(request.ends_with("\r\n\r\na=1&b=2")) << request;
    EXPECT_EQ(post.bodyBytes, "a=1&b=2");

    HttpExchange getWithBody{
        .address = T(server.url("/g")), .method = 2, .bodyBytes = Bytes("x\0y", 3)};
    performExchange(getWithBody);
    request = server.lastRequest();
    EXPECT_TRUE(request.starts_with("GET /g HTTP/1.1\r\n")) << request;
    EXPECT_TRUE(request.ends_with(std::string("\r\n\r\nx\0y", 7))) << request;
}

TEST(HttpExchange, ReturnsTheCompleteHeaderTextAndRawResponseHeaders) {
    CaptureServer server(httpResponse("body", "X-Test: 1\r\n"));
    HttpExchange exchange{.address = T(server.url("/h"))};
    EXPECT_EQ(performExchange(exchange), "body");
    EXPECT_EQ(exchange.extraHeaders, T("Referer: " + server.url("/h") +
                                       "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: "
                                       "application/x-www-form-urlencoded"));
    EXPECT_EQ(exchange.rawHeaders, T("HTTP/1.1 200 OK\r\nX-Test: 1\r\nContent-Length: 4\r\n"
                                     "Connection: close\r\n\r\n"));
    // No Location line: an empty redirect target receives the raw headers.
    EXPECT_EQ(exchange.redirectTarget, exchange.rawHeaders);

    HttpExchange kept{.address = T(server.url("/h")), .redirectTarget = T("keep")};
    performExchange(kept);
    EXPECT_EQ(kept.redirectTarget, T("keep"));
}

TEST(HttpExchange, HeadersOfFiveThousandBytesOrMoreReadAsBlanks) {
    CaptureServer server(httpResponse("b", "X-Big: " + std::string(5000, 'x') + "\r\n"));
    HttpExchange exchange{.address = T(server.url("/"))};
    EXPECT_EQ(performExchange(exchange), "b");
    EXPECT_EQ(exchange.rawHeaders, T(std::string(5000, ' ')));
    EXPECT_EQ(exchange.redirectTarget, T(std::string(5000, ' ')));
}

TEST(HttpExchange, GoesThroughTheProxyOnlyWhenOneIsSupplied) {
    CaptureServer target(httpResponse("direct"));
    CaptureServer proxy(httpResponse("proxied"));
    const std::string address = target.url("/p?q=1");

    HttpExchange viaProxy{.address = T(address), .proxyAddress = T(proxy.hostAndPort())};
    EXPECT_EQ(performExchange(viaProxy), "proxied");
    EXPECT_TRUE(proxy.lastRequest().starts_with("GET " + address + " HTTP/1.1\r\n"))
        << proxy.lastRequest();
    EXPECT_TRUE(target.requests().empty());

    HttpExchange direct{.address = T(address)};
    EXPECT_EQ(performExchange(direct), "direct");
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_TRUE(target.lastRequest().starts_with("GET /p?q=1 HTTP/1.1\r\n"));
}

TEST(HttpExchange, FollowsRedirectsUnlessToldNotTo) {
    CaptureServer final(httpResponse("final page"));
    CaptureServer redirecting(
        httpResponse("moved", "Location: " + final.url("/end") + "\r\n", "302 Found"));
    HttpExchange followed{.address = T(redirecting.url("/start"))};
    EXPECT_EQ(performExchange(followed), "final page");
    EXPECT_TRUE(followed.rawHeaders.view().starts_with("HTTP/1.1 200 OK\r\n"));

    HttpExchange held{.address = T(redirecting.url("/start")), .noRedirect = true};
    EXPECT_EQ(performExchange(held), "moved");
    EXPECT_EQ(held.redirectTarget, T(final.url("/end")));
    EXPECT_EQ(final.requests().size(), 1u);

    CaptureServer contentLocation(
        httpResponse("x", "Location: /a\r\nContent-Location: /b\r\n", "200 OK"));
    HttpExchange later{.address = T(contentLocation.url("/"))};
    // The redirect target takes any line holding "Location:" (defined so on purpose); a 200
    // is followed nowhere all the same.
    EXPECT_EQ(performExchange(later), "x");
    EXPECT_EQ(later.redirectTarget, T("/b"));
}

// Answers each request by its path: a path beginning with one of `moves` is moved to that
// move's address, any other gets a page that names the path it was asked for. Keeps every
// request's first line.
class MovingServer {
public:
    using Moves = std::vector<std::pair<std::string, std::string>>; // path prefix, Location
    explicit MovingServer(Moves moves, std::string status = "302 Found")
        : moves_(std::move(moves)), status_(std::move(status)),
          server_([this](Connection& c) { serve(c); }) {}

    std::string url(std::string_view path) const { return server_.url(path); }
    std::string hostAndPort() const { return server_.hostAndPort(); }
    std::vector<std::string> requestLines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    void serve(Connection& c) {
        while (const auto request = c.readRequest()) {
            const std::string line = request->substr(0, request->find("\r\n"));
            {
                std::lock_guard lock(mutex_);
                lines_.push_back(line);
            }
            const std::size_t space = line.find(' ');
            const std::string target = line.substr(space + 1, line.rfind(' ') - space - 1);
            // A proxied request names the whole address; the path begins after the host.
            const std::string path =
                target.starts_with("http://") ? target.substr(target.find('/', 7)) : target;
            const auto move = std::find_if(moves_.begin(), moves_.end(), [&](const auto& m) {
                return path.starts_with(m.first);
            });
            c.send(move == moves_.end()
                       ? httpResponse("page of " + path)
                       : httpResponse("moved", "Location: " + move->second + "\r\n", status_));
        }
    }

    Moves moves_;
    std::string status_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
    LoopbackServer server_;
};

TEST(HttpExchange, EachRedirectHopAsksForItsOwnAddress) {
    MovingServer second({});
    struct Case {
        const char* name;
        MovingServer::Moves moves;
        std::string start;
        std::string body;
        std::vector<std::string> firstServerLines;
        int redirects;
    };
    const Case cases[] = {
        {"another path on the same host",
         {{"/s?", "/r/s?wd=a&pn=0"}},
         "/s?wd=a&pn=0",
         "page of /r/s?wd=a&pn=0",
         {"GET /s?wd=a&pn=0 HTTP/1.1", "GET /r/s?wd=a&pn=0 HTTP/1.1"},
         1},
        {"a path relative to the first",
         {{"/dir/old", "new?x=1"}},
         "/dir/old",
         "page of /dir/new?x=1",
         {"GET /dir/old HTTP/1.1", "GET /dir/new?x=1 HTTP/1.1"},
         1},
        {"two hops, the fragment not sent",
         {{"/a", "/b"}, {"/b", "/c#fragment"}},
         "/a",
         "page of /c",
         {"GET /a HTTP/1.1", "GET /b HTTP/1.1", "GET /c HTTP/1.1"},
         2},
        {"another server",
         {{"/s", second.url("/elsewhere?q=1")}},
         "/s",
         "page of /elsewhere?q=1",
         {"GET /s HTTP/1.1"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MovingServer first(c.moves);
        const FetchResult result = fetchWithStatus(T(first.url(c.start)));
        EXPECT_EQ(result.body, c.body);
        EXPECT_EQ(first.requestLines(), c.firstServerLines);
        EXPECT_TRUE(result.status.succeeded()) << result.status.error;
        EXPECT_EQ(result.status.redirects, c.redirects);
    }
    EXPECT_EQ(second.requestLines(), std::vector<std::string>{"GET /elsewhere?q=1 HTTP/1.1"});
}

TEST(HttpExchange, ARedirectThroughTheProxyNamesTheNewAddress) {
    MovingServer proxy(MovingServer::Moves{{"/s", "/r/s"}});
    const std::string origin = "http://127.0.0.1:9"; // never connected to: the proxy answers
    HttpExchange exchange{.address = T(origin + "/s?wd=x"), .proxyAddress = T(proxy.hostAndPort())};
    EXPECT_EQ(performExchange(exchange), "page of /r/s");
    EXPECT_EQ(proxy.requestLines(), (std::vector<std::string>{"GET " + origin + "/s?wd=x HTTP/1.1",
                                                              "GET " + origin + "/r/s HTTP/1.1"}));
}

TEST(HttpExchange, ASeeOtherRedirectOfAPostAsksWithGet) {
    MovingServer server(MovingServer::Moves{{"/form", "/done"}}, "303 See Other");
    HttpExchange post{.address = T(server.url("/form")), .method = 1, .formText = T("a=1")};
    EXPECT_EQ(performExchange(post), "page of /done");
    EXPECT_EQ(server.requestLines(),
              (std::vector<std::string>{"POST /form HTTP/1.1", "GET /done HTTP/1.1"}));
}

TEST(HttpExchange, CollectsAndMergesReceivedCookies) {
    CaptureServer server(httpResponse("c", "Set-Cookie: sid=abc; Path=/\r\nSet-Cookie: flag\r\n"));
    HttpExchange exchange{.address = T(server.url("/")), .cookieText = T("")};
    performExchange(exchange);
    EXPECT_EQ(exchange.receivedCookies, T("sid=abc;")); // spaces dropped by the merge
    // The line without ";" gave an empty item, which the merge drops at the end.
    EXPECT_EQ(exchange.cookieText, T("sid=abc"));
    // A supplied empty cookie text sends no Cookie line.
    EXPECT_EQ(server.lastRequest().find("Cookie"), std::string::npos);
}

TEST(HttpExchange, TheSharedStoreSendsACookieBackToTheSameHost) {
    CaptureServer server(httpResponse("c", "Set-Cookie: shared=42; Path=/\r\n"));
    fetch(T(server.url("/first")));
    fetch(T(server.url("/second")));
    EXPECT_NE(server.lastRequest().find("\r\nCookie: shared=42\r\n"), std::string::npos)
        << server.lastRequest();
}

TEST(HttpExchange, FailuresGiveAnEmptyBodyWithinTheLimits) {
    const HttpLimits shortLimits{
        .connectTimeout = 1000ms, .stallTimeout = 1s, .totalTimeout = 5s, .maxBodyBytes = 1 << 20};
    LoopbackServer silent([](Connection& c) { c.waitForStop(); });
    LoopbackServer endless([](Connection& c) {
        c.readRequest();
        c.send("HTTP/1.1 200 OK\r\nContent-Length: 100000000000\r\n\r\n");
        const std::string chunk(65536, 'x');
        while (!c.stopping() && c.send(chunk)) {
        }
    });
    LoopbackServer resetting([](Connection& c) {
        c.readRequest();
        c.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
        c.reset();
    });

    const auto start = std::chrono::steady_clock::now();
    HttpExchange stalled{.address = T(silent.url("/"))};
    EXPECT_EQ(performExchange(stalled, shortLimits), "");
    EXPECT_EQ(stalled.rawHeaders, T(std::string(5000, ' ')));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);

    EXPECT_FALSE(stalled.status.error.empty());

    const FetchResult capped = fetchWithStatus(T(endless.url("/")), shortLimits);
    EXPECT_EQ(capped.body.size(), shortLimits.maxBodyBytes);
    EXPECT_NE(capped.status.error.find("larger than"), std::string::npos) << capped.status.error;
    const FetchResult cut = fetchWithStatus(T(resetting.url("/")), shortLimits);
    EXPECT_EQ(cut.body, "partial");
    EXPECT_EQ(cut.status.httpStatus, 200);
    EXPECT_FALSE(cut.status.succeeded()) << "a body cut short is no success";

    LoopbackServer closed([](Connection&) {});
    const int port = closed.port();
    closed.stop();
    HttpExchange refused{.address = T("http://127.0.0.1:" + std::to_string(port) + "/")};
    EXPECT_EQ(performExchange(refused, shortLimits), "");
    EXPECT_EQ(refused.status.httpStatus, 0);
    EXPECT_FALSE(refused.status.error.empty());
}

TEST(HttpExchange, KeepsTheReasonBesideTheResult) {
    CaptureServer fine(httpResponse("ok"));
    CaptureServer failing(httpResponse("oops", "", "500 Internal Server Error"));
    MovingServer looping(MovingServer::Moves{{"/", "/"}});
    const FetchResult good = fetchWithStatus(T(fine.url("/")));
    EXPECT_TRUE(good.status.succeeded());
    EXPECT_EQ(good.status.httpStatus, 200);
    EXPECT_EQ(good.status.finalAddress, T(fine.url("/")));

    const FetchResult serverError = fetchWithStatus(T(failing.url("/")));
    EXPECT_EQ(serverError.body, "oops"); // the page is kept: the caller decides
    EXPECT_EQ(serverError.status.httpStatus, 500);
    EXPECT_FALSE(serverError.status.succeeded());

    const FetchResult loop = fetchWithStatus(T(looping.url("/")));
    EXPECT_EQ(loop.body, "moved");
    EXPECT_EQ(loop.status.redirects, HttpLimits{}.maxRedirects);
    EXPECT_EQ(looping.requestLines().size(),
              static_cast<std::size_t>(HttpLimits{}.maxRedirects + 1));
    EXPECT_NE(loop.status.error.find("redirects"), std::string::npos) << loop.status.error;
}

TEST(HttpExchange, AnAddressWithNoHostTouchesNothing) {
    HttpExchange exchange{.address = T("http:///nothing"), .extraHeaders = T("X: 1")};
    EXPECT_EQ(performExchange(exchange), "");
    EXPECT_EQ(exchange.extraHeaders, T("X: 1"));
    EXPECT_EQ(exchange.rawHeaders, T(""));
}

TEST(HttpExchange, ControlCharactersInTheAddressCannotInjectHeaderLines) {
    CaptureServer server;
    const std::string address = server.url("/s?wd=site%3A a.com\r\nX-Evil: 1\nX-Bad: 2\x7F");
    HttpExchange exchange{.address = T(address)};
    performExchange(exchange);
    const std::string request = server.lastRequest();
    EXPECT_TRUE(request.starts_with("GET /s?wd=site%3A%20a.com%0D%0AX-Evil:%201%0AX-Bad:%202%7F "))
        << request;
    // The Referer line keeps the address readable, its line breaks encoded.
    EXPECT_NE(request.find("\r\nReferer: " +
                           server.url("/s?wd=site%3A a.com%0D%0AX-Evil: 1%0AX-Bad: 2%7F") + "\r\n"),
              std::string::npos)
        << request;
    EXPECT_EQ(request.find("\nX-Evil"), std::string::npos) << request;
    EXPECT_EQ(request.find("\nX-Bad"), std::string::npos) << request;
    EXPECT_EQ(request.find('\x7F'), std::string::npos) << request;
}

TEST(HttpExchange, ManyThreadsAtOnce) {
    CaptureServer server;
    std::vector<std::thread> threads;
    std::atomic<int> ok{0};
    for (int i = 0; i < 24; ++i)
        threads.emplace_back([&] {
            for (int k = 0; k < 5; ++k)
                ok += fetch(T(server.url("/"))) == "hello";
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(ok.load(), 24 * 5);
}

} // namespace
} // namespace shareseek
