#pragma once

#include "text/text.h"

#include <array>
#include <string_view>

// The 22 built-in share sites, the worker parameter that names one site for one worker, and
// the addresses of a site's results pages.
namespace shareseek {

struct Site {
    int index;                   // 1 to 22
    std::u8string_view checkBox; // name of its check box on the main window
    std::u8string_view caption;  // caption of that check box
    std::string_view shareHost;  // the host under which the service publishes share pages
};

inline constexpr int builtInSiteCount = 22;
// Extra hosts are numbered from here, in list order; 23 is never a site.
inline constexpr int firstExtraSiteIndex = 24;

// The built-in sites in site-index order (which is not their order on the window).
const std::array<Site, builtInSiteCount>& siteCatalogue();

// The share host of built-in site `siteIndex` (1 to 22); empty for any other index.
Text shareHostOf(int siteIndex);

// "<site index>.N.*", followed by the host for an extra host.
Text buildWorkerParameter(int siteIndex, const Text& extraHost = Text());

struct WorkerSite {
    int siteIndex = 0;
    Text shareHost;
};
WorkerSite parseWorkerParameter(const Text& parameter);

// Percent-encodes every byte; with `keepLiterals`, letters, digits, "-" and "." stay; with
// `asUtf8`, the keyword is converted to UTF-8 first.
Text encodeKeyword(const Text& keyword, bool keepLiterals = true, bool asUtf8 = true);

inline constexpr int hitsPerPage = 50;

// "http://<search host>/s?wd=site%3A<share host>%20<encoded keyword>&pn=<offset>&rn=50...".
Text resultsPageAddress(std::string_view searchHost, const Text& shareHost,
                        const Text& encodedKeyword, int pageOffset);

} // namespace shareseek
