// The program as it is, with its search host and forum host pointed at servers of its own on
// loopback, so that searches, paging, filtering and export can be seen without internet.
#include "fake_engine/fake_search_engine.h"
#include "fake_engine/loopback_server.h"
#include "text/codepage.h"
#include "ui/qt/program.h"

#include <chrono>

int main(int argc, char** argv) {
    using namespace shareseek;
    using namespace std::chrono_literals;
    fake::FakeSearchEngine engine({.pages = 3, .hitsPerPage = 20, .latency = 80ms}, 16 * 1024);
    // A few sites answer as today's engine does: pages in today's layout, a verification
    // page, a server error.
    engine.setBehaviour("yunpan.cn", {.pages = 3,
                                      .hitsPerPage = 20,
                                      .latency = 80ms,
                                      .failure = fake::EngineFailure::todaysLayout});
    engine.setBehaviour("ctdisk.com",
                        {.latency = 80ms, .failure = fake::EngineFailure::verification});
    engine.setBehaviour("115.com", {.latency = 80ms, .failure = fake::EngineFailure::errorPage});
    // The forum: the update page says this is the latest version.
    const std::string updatePage = literal(u8"<html><body>最新版本→1←完毕！</body></html>").bytes();
    fake::LoopbackServer forum([&](fake::Connection& connection) {
        if (connection.readRequest())
            connection.send(fake::httpResponse(updatePage, "Content-Type: text/html\r\n"));
    });
    const int exitCode =
        runProgram(argc, argv, {.searchHost = engine.host(), .forumHost = forum.hostAndPort()});
    endProcess(exitCode);
}
