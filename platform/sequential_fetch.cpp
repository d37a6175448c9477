// The fetch port's copies ahead of time where a platform makes them one after another.
#include "platform/fetch.h"

namespace ph {

Fetcher::Ticket Fetcher::Start(const FetchRequest& request) {
  FetchResult& result = made_[++last_ticket_];
  result.ok = !request.path.empty() && FetchTyped(request.url, request.path, &result.content_type);
  return last_ticket_;
}

FetchResult Fetcher::Finish(Ticket ticket) {
  const auto it = made_.find(ticket);
  if (it == made_.end()) return {};
  FetchResult result = std::move(it->second);
  made_.erase(it);
  return result;
}

std::vector<FetchResult> Fetcher::FetchAll(const std::vector<FetchRequest>& requests) {
  std::vector<Ticket> tickets;
  tickets.reserve(requests.size());
  for (const FetchRequest& request : requests) tickets.push_back(Start(request));
  std::vector<FetchResult> results;
  results.reserve(tickets.size());
  for (Ticket ticket : tickets) results.push_back(Finish(ticket));
  return results;
}

}  // namespace ph
