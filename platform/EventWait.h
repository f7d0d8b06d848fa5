#pragma once

#include <functional>

namespace marlo {

// Runs a local event loop until `condition` holds or `timeoutMs` passes, so window events,
// timers and device notices go on meanwhile. True when the condition held. Whatever runs
// meanwhile may call back into the waiting code: a caller guards against that.
bool waitWhileDispatching(const std::function<bool()>& condition, int timeoutMs);

}  // namespace marlo
