#pragma once

#include "search/search_session.h"
#include "search/site_outcome.h"

#include <memory>

namespace shareseek {

// Searches one site for the keyword of the keyword box and appends its hits as rows: the
// first page is fetched without the result lock, then, holding it, the rows of every page,
// further pages fetched one after another while the page just appended offers one. What the
// site's search came to is written to `outcome` as it goes. Whoever starts it counts it in
// the session's running workers; it uncounts itself at its end. An error inside ends this
// site's search alone: its end steps still run and the other sites go on.
void runSearchWorker(std::shared_ptr<SearchSession> session, Text parameter,
                     OutcomeSlot outcome = {});

} // namespace shareseek
