#include "web/curl_session.h"

#include <array>
#include <mutex>

namespace shareseek {
namespace {

std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    shareLocks[static_cast<std::size_t>(data)].lock();
}

void unlockShare(CURL*, curl_lock_data data, void*) {
    shareLocks[static_cast<std::size_t>(data)].unlock();
}

} // namespace

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURLSH* sharedCookieStore() {
    // Lives until the process ends: workers may still be exchanging when main() returns.
    static CURLSH* const store = [] {
        ensureCurlInitialised();
        CURLSH* share = curl_share_init();
        if (share) {
            curl_share_setopt(share, CURLSHOPT_LOCKFUNC, lockShare);
            curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, unlockShare);
            curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        }
        return share;
    }();
    return store;
}

} // namespace shareseek
