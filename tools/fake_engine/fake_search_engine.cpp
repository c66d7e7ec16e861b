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
           (content.hitAddress.empty() ? fakeHitAddress(content.shareHost, number)
                                       : content.hitAddress) +
           layout +
           (content.hitTitle.empty() ? fakeHitTitle(content.shareHost, content.keyword, number)
                                     : content.hitTitle) +
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

std::string fakeTodaysTitleHtml(const std::string& shareHost, const std::string& keyword,
                                int number) {
    return "<em>" + keyword + "</em>\n   \xE8\xB5\x84\xE6\xBA\x90 " + std::to_string(number + 1) +
           " - <span class=\"c-title-host\">" + shareHost +
           "</span> &amp; \xE5\x88\x86\xE4\xBA\xAB &quot;&#x4E2D;&#25991;&quot;";
}

std::string fakeTodaysTitle(const std::string& shareHost, const std::string& keyword, int number) {
    return keyword + " \xE8\xB5\x84\xE6\xBA\x90 " + std::to_string(number + 1) + " - " + shareHost +
           " & \xE5\x88\x86\xE4\xBA\xAB \"\xE4\xB8\xAD\xE6\x96\x87\"";
}

namespace {

// Links that stand around the hits on today's pages: the navigation, related searches, the
// footer. Each its own address, so that nothing can mistake one for another.
std::string otherLinks(int count, int salt) {
    std::string out = "<div class=\"s_tab\" id=\"s_tab\">";
    for (int i = 0; i < count; ++i)
        out += "<a href=\"http://www.baidu.com/s?rsv_dl=" + std::to_string(salt * 1000 + i) +
               "&amp;tn=news\" class=\"s-tab-item\">\xE8\xB5\x84\xE8\xAE\xAF</a>\n";
    return out + "</div>\n";
}

// One hit of today's layout; its link's attributes come in one of three orders.
std::string todaysBlock(const PageContent& content, int number) {
    const std::string address = fakeHitAddress(content.shareHost, number);
    const std::string title = fakeTodaysTitleHtml(content.shareHost, content.keyword, number);
    static const char* const links[] = {
        "<a href=\"%A\" target=\"_blank\" data-click=\"{'F':'778717EA'}\">",
        "<a\n   data-click='{\"F\":\"1\"}'\n   target=\"_blank\"\n   href='%A'\n>",
        "<A target=_blank HREF=\"%A\" class=\"\">",
    };
    std::string link = links[number % 3];
    link.replace(link.find("%A"), 2, address);
    return "<div class=\"result c-container xpath-log new-pmd\" srcid=\"1599\" id=\"" +
           std::to_string(number + 1) + "\" tpl=\"se_com_default\" mu=\"http://" +
           content.shareHost + "/s/" + std::to_string(number + 1) +
           "\" data-op=\"{'y':'F7F9EDF7'}\">\n  <div class=\"c-container\">\n    <h3 "
           "class=\"c-title t t tts-title\">" +
           link + title + "</a></h3>\n    <div class=\"c-abstract\">" + "<a href=\"http://" +
           content.shareHost + "/\">" + content.shareHost + "</a> <em>" + content.keyword +
           "</em> \xE4\xB8\x8B\xE8\xBD\xBD</div>\n  </div>\n</div>\n";
}

} // namespace

std::string renderTodaysPage(const PageContent& content) {
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                       content.keyword +
                       "_\xE7\x99\xBE\xE5\xBA\xA6\xE6\x90\x9C\xE7\xB4\xA2</title></head>\n"
                       "<body>\n<div id=\"head\">" +
                       otherLinks(120, 1) +
                       "</div>\n"
                       "<div id=\"content_left\">\n";
    for (int i = 0; i < content.hits; ++i) {
        page += todaysBlock(content, content.pageOffset + i);
        page += otherLinks(4, i + 2);
    }
    page += "</div>\n<div id=\"rs\"><h3>\xE7\x9B\xB8\xE5\x85\xB3\xE6\x90\x9C\xE7\xB4\xA2</h3>" +
            otherLinks(10, 999) + "</div>\n<div id=\"page\">\n";
    if (content.nextPage)
        page += "<a href=\"/s?pn=" + std::to_string(content.pageOffset + 50) +
                "&amp;rn=50\" class=\"n\">\xE4\xB8\x8B\xE4\xB8\x80\xE9\xA1\xB5 &gt;</a>\n";
    page += "</div>\n<div id=\"foot\">" + otherLinks(60, 3) + "</div>\n</body></html>\n";
    return page;
}

std::string renderVerificationPage() {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>"
           "\xE7\x99\xBE\xE5\xBA\xA6\xE5\xAE\x89\xE5\x85\xA8\xE9\xAA\x8C\xE8\xAF\x81</title>"
           "</head>\n<body><div class=\"timeout\"><div class=\"timeout-img\"></div>"
           "<p class=\"timeout-feedback\">\xE7\xBD\x91\xE7\xBB\x9C\xE4\xB8\x8D\xE7\xBB\x99"
           "\xE5\x8A\x9B\xEF\xBC\x8C\xE8\xAF\xB7\xE7\xA8\x8D\xE5\x90\x8E\xE9\x87\x8D\xE8\xAF\x95"
           "</p><a "
           "href=\"https://www.baidu.com/\">\xE8\xBF\x94\xE5\x9B\x9E\xE9\xA6\x96\xE9\xA1\xB5</a>"
           "</div></body></html>\n";
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

void FakeSearchEngine::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    server_.stop();
}

void FakeSearchEngine::hold(const std::string& shareHost) {
    std::lock_guard lock(mutex_);
    held_.insert(shareHost);
}

void FakeSearchEngine::release(const std::string& shareHost) {
    {
        std::lock_guard lock(mutex_);
        held_.erase(shareHost);
    }
    changed_.notify_all();
}

bool FakeSearchEngine::waitForRequests(const std::string& shareHost, std::size_t count,
                                       std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        std::size_t seen = 0;
        for (const EngineRequest& request : requests_)
            seen += request.shareHost == shareHost ? 1 : 0;
        return seen >= count;
    });
}

void FakeSearchEngine::waitAtGate(const std::string& shareHost, const Connection& connection) {
    std::unique_lock lock(mutex_);
    while (held_.count(shareHost) != 0 && !stopping_ && !connection.stopping())
        changed_.wait_for(lock, std::chrono::milliseconds(20));
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
    changed_.notify_all();
    waitAtGate(parsed.shareHost, connection);
    const HostBehaviour behaviour = behaviourFor(parsed.shareHost);
    if (behaviour.latency.count() > 0) {
        const auto until = std::chrono::steady_clock::now() + behaviour.latency;
        // Short sleeps, so that a stopping engine is not held up, ending on the moment itself.
        for (auto now = std::chrono::steady_clock::now(); !connection.stopping() && now < until;
             now = std::chrono::steady_clock::now())
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                until - now, std::chrono::milliseconds(5)));
    }
    answer(connection, parsed);
}

void FakeSearchEngine::answer(Connection& connection, const EngineRequest& parsed) {
    const HostBehaviour behaviour = behaviourFor(parsed.shareHost);
    if (parsed.path.starts_with(fakeVerificationPath)) {
        connection.send(
            httpResponse(renderVerificationPage(), "Content-Type: text/html;charset=utf-8\r\n"));
        return;
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
    case EngineFailure::moved:
        if (parsed.path.starts_with("/s?")) {
            connection.send(httpResponse("", "Location: /r" + parsed.path + "\r\n", "302 Found"));
            return;
        }
        break;
    case EngineFailure::verification:
        connection.send(httpResponse("",
                                     "Location: " + std::string(fakeVerificationPath) +
                                         "?from=" + parsed.shareHost + "\r\n",
                                     "302 Found"));
        return;
    case EngineFailure::unreadable:
        connection.send(httpResponse("<html><head><title>\xE9\xA1\xB5\xE9\x9D\xA2</title></head>"
                                     "<body><p>\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x8D\x87\xE7\xBA\xA7"
                                     "</p></body></html>",
                                     "Content-Type: text/html;charset=utf-8\r\n"));
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
                        .otherLayout = behaviour.failure == EngineFailure::otherLayout,
                        .hitAddress = behaviour.hitAddress,
                        .hitTitle = behaviour.hitTitle};
    sendPage(connection, behaviour.failure,
             behaviour.failure == EngineFailure::todaysLayout ? renderTodaysPage(content)
                                                              : renderResultsPage(content));
}

} // namespace shareseek::fake
