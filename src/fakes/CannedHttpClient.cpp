#include "fakes/CannedHttpClient.h"

#include <utility>

namespace pelliwig {

void CannedHttpClient::get(const HttpRequest& request, Completion done) {
    requests_.push_back(request);
    std::erase_if(deliveries_, [](const TaskHandle& handle) { return !handle.active(); });
    // Always through the scheduler, never inside get(), like a real network.
    deliveries_.push_back(
        scheduler_.after(latency_, [done = std::move(done), result = result_] { done(result); }));
}

}  // namespace pelliwig
