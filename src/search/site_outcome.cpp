#include "search/site_outcome.h"

namespace shareseek {

std::size_t OutcomeTable::add(SiteOutcome outcome) {
    std::lock_guard lock(mutex_);
    outcomes_.push_back(std::move(outcome));
    return outcomes_.size() - 1;
}

void OutcomeTable::update(std::size_t entry, const SiteOutcome& outcome) {
    std::lock_guard lock(mutex_);
    if (entry < outcomes_.size())
        outcomes_[entry] = outcome;
}

SiteOutcome OutcomeTable::at(std::size_t entry) const {
    std::lock_guard lock(mutex_);
    return entry < outcomes_.size() ? outcomes_[entry] : SiteOutcome{};
}

std::vector<SiteOutcome> OutcomeTable::snapshot() const {
    std::lock_guard lock(mutex_);
    return outcomes_;
}

} // namespace shareseek
