#pragma once

#include "seams/desktop_services.h"
#include "search/search_session.h"

#include <memory>

// Starting a search from the window: one worker thread per ticked site, then one per extra
// host when "其他" is ticked. Runs on the window's thread and never waits for a worker.
namespace shareseek {

class SearchDispatch {
public:
    SearchDispatch(std::shared_ptr<SearchSession> session, DesktopServices& desktop)
        : session_(std::move(session)), desktop_(desktop) {}

    // The click on 给我搜.
    void startSearch();
    // A key pressed in the keyword box: Enter (13) starts a search.
    void keywordKeyPressed(int keyCode);
    // The click on 随便搜搜: a keyword drawn from the built-in list, then a search.
    void randomSearch();

private:
    void startWorker(const Text& parameter, SiteOutcome site);

    std::shared_ptr<SearchSession> session_;
    // The outcome table of the search being started.
    std::shared_ptr<OutcomeTable> outcomes_;
    DesktopServices& desktop_;
};

// The built-in list of random keywords, separated by ",".
const Text& randomKeywords();

} // namespace shareseek
