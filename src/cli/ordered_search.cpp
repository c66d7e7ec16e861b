#include "cli/ordered_search.h"

#include "search/results_page.h"
#include "search/search_session.h"
#include "search/site_catalogue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace shareseek::cli {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// What the site threads and the thread giving the rows share, under one lock.
class SearchState {
public:
    explicit SearchState(const SearchPlan& plan) : plan_(plan), sites_(plan.sites.size()) {
        for (std::size_t i = 0; i < plan.sites.size(); ++i) {
            SiteOutcome& outcome = sites_[i].outcome;
            outcome.siteIndex = plan.sites[i].siteIndex;
            outcome.caption = plan.sites[i].caption;
            outcome.host = plan.sites[i].shareHost;
        }
    }

    // A site's page has been fetched: held until its turn.
    void deliver(std::size_t site, std::vector<Hit> hits) {
        {
            std::lock_guard lock(mutex_);
            SiteState& state = sites_[site];
            if (state.outcome.pages++ == 0)
                arrivals_.push_back(site);
            state.pages.push_back(std::move(hits));
        }
        changed_.notify_all();
    }

    void finish(std::size_t site, const ResultsPage& last, std::chrono::milliseconds elapsed) {
        {
            std::lock_guard lock(mutex_);
            SiteState& state = sites_[site];
            judgeLastPage(last, state.outcome);
            state.outcome.elapsed = elapsed;
            state.done = true;
        }
        changed_.notify_all();
    }

    // A further page may be asked for: fewer than `parallel` in flight, and the site whose
    // turn it is goes before the sites that fetch ahead (with `parallel` 1, they never do).
    void acquireFetch(std::size_t site) {
        std::unique_lock lock(mutex_);
        const bool ownTurn = turn_ == site;
        if (ownTurn)
            ++turnWaiting_;
        changed_.wait(lock, [&] {
            const bool turn = turn_ == site;
            return inFlight_ < plan_.parallel &&
                   (turn || (plan_.parallel > 1 && turnWaiting_ == 0));
        });
        if (ownTurn)
            --turnWaiting_;
        ++inFlight_;
    }

    void releaseFetch() {
        {
            std::lock_guard lock(mutex_);
            --inFlight_;
        }
        changed_.notify_all();
    }

    // The site whose rows come next, in the order first pages arrived; waits for it.
    std::size_t nextTurn(std::size_t given, const std::function<void()>& tick) {
        std::unique_lock lock(mutex_);
        while (arrivals_.size() <= given) {
            lock.unlock();
            tick();
            lock.lock();
            changed_.wait_for(lock, std::chrono::milliseconds(200),
                              [&] { return arrivals_.size() > given; });
        }
        const std::size_t site = arrivals_[given];
        turn_ = site;
        lock.unlock();
        changed_.notify_all();
        return site;
    }

    // The next page of the site whose turn it is; nothing once it has none left.
    std::optional<std::vector<Hit>> nextPage(std::size_t site, const std::function<void()>& tick) {
        std::unique_lock lock(mutex_);
        SiteState& state = sites_[site];
        while (state.pages.empty() && !state.done) {
            lock.unlock();
            tick();
            lock.lock();
            changed_.wait_for(lock, std::chrono::milliseconds(200),
                              [&] { return !state.pages.empty() || state.done; });
        }
        if (state.pages.empty())
            return std::nullopt;
        std::vector<Hit> page = std::move(state.pages.front());
        state.pages.pop_front();
        return page;
    }

    void countRow(std::size_t site) {
        std::lock_guard lock(mutex_);
        ++sites_[site].outcome.rows;
    }

    Progress progress(Clock::time_point start) {
        std::lock_guard lock(mutex_);
        Progress now{.elapsed = since(start)};
        for (const SiteState& state : sites_) {
            (state.done ? now.sitesDone : now.sitesRunning) += 1;
            now.rows += state.outcome.rows;
            now.pages += state.outcome.pages;
        }
        return now;
    }

    std::vector<SiteOutcome> outcomes() {
        std::lock_guard lock(mutex_);
        std::vector<SiteOutcome> all;
        for (const SiteState& state : sites_)
            all.push_back(state.outcome);
        return all;
    }

private:
    struct SiteState {
        std::deque<std::vector<Hit>> pages;
        bool done = false;
        SiteOutcome outcome;
    };

    const SearchPlan& plan_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<SiteState> sites_;
    std::vector<std::size_t> arrivals_;
    std::optional<std::size_t> turn_;
    int inFlight_ = 0;
    int turnWaiting_ = 0;
};

// One site: its first page at once, then each further page when a fetch may start.
void searchSite(const SearchPlan& plan, std::size_t site, SearchState& state) {
    const Clock::time_point start = Clock::now();
    RegexMatcher matcher;
    PageRequest request{.searchHost = plan.searchHost,
                        .shareHost = plan.sites[site].shareHost,
                        .keyword = plan.keyword,
                        .limits = plan.limits,
                        .proxyAddress = plan.proxyAddress};
    ResultsPage page = fetchResultsPage(request, matcher);
    state.deliver(site, page.hits);
    for (int pages = 1; page.offersNextPage() && pages < plan.maxPages; ++pages) {
        request.pageOffset += hitsPerPage;
        // Only the exchange counts against the pages in flight; reading it is ours alone.
        state.acquireFetch(site);
        FetchResult fetched = fetchResultsBody(request);
        state.releaseFetch();
        page = readResultsPage(std::move(fetched), matcher);
        state.deliver(site, page.hits);
    }
    state.finish(site, page, since(start));
}

} // namespace

std::vector<SiteOutcome> runOrderedSearch(const SearchPlan& plan,
                                          const SearchCallbacks& callbacks) {
    const Clock::time_point start = Clock::now();
    SearchState state(plan);
    std::vector<std::thread> threads;
    for (std::size_t site = 0; site < plan.sites.size(); ++site)
        threads.emplace_back(searchSite, std::cref(plan), site, std::ref(state));

    const auto tick = [&] {
        if (callbacks.progress)
            callbacks.progress(state.progress(start));
    };
    std::set<std::string> given;
    int number = 0;
    bool reading = true;
    for (std::size_t turn = 0; turn < plan.sites.size(); ++turn) {
        const std::size_t site = state.nextTurn(turn, tick);
        while (const auto hits = state.nextPage(site, tick)) {
            for (const Hit& hit : *hits) {
                if (plan.dedupe && !given.insert(hit.address.bytes()).second)
                    continue;
                state.countRow(site);
                const Row row{++number, plan.sites[site].caption, hit.title, hit.address};
                reading = reading && (!callbacks.row || callbacks.row(row));
            }
            tick();
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    tick();
    return state.outcomes();
}

} // namespace shareseek::cli
