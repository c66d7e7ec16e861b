#include "fake_engine/fake_search_engine.h"

#include "text/percent_encoding.h"

#include <thread>

namespace shareseek::fake {
namespace {

// Markup that stands between results on a real page: short lines of ASCII with a little
// Chinese, repeated to the size asked for.
std::string padding(std::size_t bytes) {
    static const std::string block =
        "<div class=\"c-gap-top-small\"><span class=\"c-color-gray2\">\xE7\xBD\x91\xE7\x9B\x98"
        "\xE8\xB5\x84\xE6\xBA\x90 2026-12-01</span></div>\n"
        "<script>var s_session={\"logId\":\"3921\",\"seqId\":\"3922\",\"sessionId\":\"\"};"
        "</script>\n"
        "<style>.c-container{width:538px;font-size:13px;line-height:1.54}</style>\n";
    std::string out;
    out.reserve(bytes + block.size());
    while (out.size() < bytes)
        out += block;
    return out;
}

std::string resultBlock(const PageContent& content, int number) {
    // The indentation of the engine's result links, byte for byte.
    const std::string layout = content.otherLayout ? "\"\n\t\t\n\t             target=\"_blank\"\n"
                                                     "        \t\t\n\t\t>"
                                                   : "\"\n\t\t\n\t\t            target=\"_blank\"\n"
                                                     "        \t\t\n\t\t>";
    return "<div class=\"result c-container\" id=\"" + std::to_string(number + 1) +
           "\"><h3 class=\"t\"><a\n data-click=\"{'F':'778317EA'}\"\n href=\"" +
           fakeHitAddress(content.shareHost, number) + layout +
           fakeHitTitle(content.shareHost, content.keyword, number) +
           "</a></h3><div class=\"c-abstract\">\xE5\x88\x86\xE4\xBA\xAB\xE6\x96\x87\xE4\xBB\xB6 "
           "<em>" +
           content.keyword + "</em> \xE4\xB8\x8B\xE8\xBD\xBD</div></div>\n";
}

int queryNumber(const std::string& path, const std::string& key) {
    const auto at = path.find("&" + key + "=");
    return at == std::string::npos ? -1 : std::atoi(path.c_str() + at + key.size() + 2);
}

EngineRequest parseRequest(const std::string& request) {
    EngineRequest parsed;
    const auto space = request.find(' ');
    parsed.path = request.substr(space + 1, request.find(' ', space + 1) - space - 1);
    const auto wd = parsed.path.find("?wd=");
    if (wd != std::string::npos) {
        const std::string value =
            percentDecode(parsed.path.substr(wd + 4, parsed.path.find('&', wd) - wd - 4));
        if (value.starts_with("site:")) {
            const auto hostEnd = value.find(' ', 5);
            parsed.shareHost = value.substr(5, hostEnd - 5);
            parsed.keyword = hostEnd == std::string::npos ? "" : value.substr(hostEnd + 1);
        }
    }
    parsed.pageOffset = queryNumber(parsed.path, "pn");
    return parsed;
}

} // namespace

std::string fakeHitTitle(const std::string& shareHost, const std::string& keyword, int number) {
    return "<em>" + keyword + "</em> \xE8\xB5\x84\xE6\xBA\x90 " + std::to_string(number + 1) +
           " - " + shareHost;
}

std::string fakeHitAddress(const std::string& shareHost, int number) {
    return "http://www.baidu.com/link?url=" + shareHost + "-" + std::to_string(number + 1);
}

std::string renderResultsPage(const PageContent& content) {
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                       content.keyword + "</title></head>\n<body>\n<div id=\"content_left\">\n";
    const std::size_t slices = static_cast<std::size_t>(content.hits) + 1;
    for (int i = 0; i < content.hits; ++i) {
        page += padding(content.paddingBytes / slices);
        page += resultBlock(content, content.pageOffset + i);
    }
    page += padding(content.paddingBytes / slices);
    page += "</div>\n<div id=\"page\"><strong><span class=\"pc\">1</span></strong>\n";
    if (content.nextPage)
        page += "<a href=\"/s?pn=" + std::to_string(content.pageOffset + 50) +
                "\" class=\"n\">\xE4\xB8\x8B\xE4\xB8\x80\xE9\xA1\xB5&gt;</a>\n";
    page += "</div>\n</body></html>\n";
    return page;
}

namespace {

void sendHugeBody(Connection& connection) {
    constexpr std::size_t total = 200u * 1024 * 1024;
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(total) + "\r\n\r\n");
    const std::string chunk(1 << 16, 'x');
    for (std::size_t sent = 0; sent < total && !connection.stopping(); sent += chunk.size())
        if (!connection.send(chunk))
            return;
}

// Sends a page, spoilt as the failure says.
void sendPage(Connection& connection, EngineFailure failure, std::string page) {
    const std::string html = "Content-Type: text/html;charset=utf-8\r\n";
    switch (failure) {
    case EngineFailure::brokenText: {
        const auto secondHit =
            page.find("<div class=\"result", page.find("<div class=\"result") + 1);
        if (secondHit != std::string::npos)
            page.insert(secondHit, std::string("\xC0\xAF\xFF\x80\0", 5));
        page.insert(0, "\xED\xA0\x80\xF8\x88\x80\x80\x80");
        connection.send(httpResponse(page, html));
        return;
    }
    case EngineFailure::hugeHeaders:
        connection.send(httpResponse(page, html + "X-Padding: " + std::string(6000, 'p') + "\r\n"));
        return;
    case EngineFailure::resetMidBody: {
        const std::string response = httpResponse(page, html);
        connection.send(std::string_view(response).substr(0, response.size() / 2));
        connection.reset();
        return;
    }
    default:
        connection.send(httpResponse(page, html));
    }
}

} // namespace

FakeSearchEngine::FakeSearchEngine(HostBehaviour defaults, std::size_t paddingBytes)
    : defaults_(defaults), paddingBytes_(paddingBytes),
      server_([this](Connection& c) { serve(c); }) {}

void FakeSearchEngine::setBehaviour(const std::string& shareHost, HostBehaviour behaviour) {
    std::lock_guard lock(mutex_);
    behaviours_[shareHost] = behaviour;
}

HostBehaviour FakeSearchEngine::behaviourFor(const std::string& shareHost) const {
    std::lock_guard lock(mutex_);
    const auto found = behaviours_.find(shareHost);
    return found == behaviours_.end() ? defaults_ : found->second;
}

std::vector<EngineRequest> FakeSearchEngine::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<EngineRequest> FakeSearchEngine::requestsFor(const std::string& shareHost) const {
    std::vector<EngineRequest> matching;
    for (const EngineRequest& request : requests())
        if (request.shareHost == shareHost)
            matching.push_back(request);
    return matching;
}

void FakeSearchEngine::serve(Connection& connection) {
    const auto request = connection.readRequest();
    if (!request)
        return;
    const EngineRequest parsed = parseRequest(*request);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(parsed);
    }
    const HostBehaviour behaviour = behaviourFor(parsed.shareHost);
    if (behaviour.latency.count() > 0) {
        const auto until = std::chrono::steady_clock::now() + behaviour.latency;
        while (!connection.stopping() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::min(behaviour.latency, std::chrono::milliseconds(5)));
    }
    switch (behaviour.failure) {
    case EngineFailure::refuse:
        connection.reset();
        return;
    case EngineFailure::stall:
        connection.waitForStop();
        return;
    case EngineFailure::errorPage:
        connection.send(httpResponse("<html><body>500 Internal Server Error</body></html>", "",
                                     "500 Internal Server Error"));
        return;
    case EngineFailure::headersThenStall:
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
        connection.waitForStop();
        return;
    case EngineFailure::hugeBody:
        sendHugeBody(connection);
        return;
    case EngineFailure::redirectLoop:
        connection.send(httpResponse("", "Location: " + parsed.path + "\r\n", "302 Found"));
        return;
    default:
        break;
    }
    const int page = std::max(parsed.pageOffset, 0) / 50;
    PageContent content{.shareHost = parsed.shareHost,
                        .keyword = parsed.keyword,
                        .pageOffset = std::max(parsed.pageOffset, 0),
                        .hits = page < behaviour.pages ? behaviour.hitsPerPage : 0,
                        .nextPage = page + 1 < behaviour.pages,
                        .paddingBytes = paddingBytes_,
                        .otherLayout = behaviour.failure == EngineFailure::otherLayout};
    sendPage(connection, behaviour.failure, renderResultsPage(content));
}

} // namespace shareseek::fake
