#pragma once

#include "search/search_session.h"

#include <memory>

namespace shareseek {

// Searches one site for the keyword of the keyword box and appends its hits as rows: the
// first page is fetched without the result lock, then, holding it, the rows of every page,
// further pages fetched one after another while the page just appended offers one. Whoever
// starts it counts it in the session's running workers; it uncounts itself at its end.
void runSearchWorker(std::shared_ptr<SearchSession> session, Text parameter);

} // namespace shareseek
