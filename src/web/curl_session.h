#pragma once

#include <curl/curl.h>

#include <memory>

// What every exchange shares: libcurl initialised once for the process, and one in-memory
// cookie store that all exchanges on all threads read and write under its own locks.
namespace shareseek {

void ensureCurlInitialised();

// The process-wide cookie store, for exchanges whose caller keeps no cookie text.
CURLSH* sharedCookieStore();

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct CurlUrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

} // namespace shareseek
