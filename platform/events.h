#pragma once
#include <chrono>
#include <functional>

namespace platform {

// Runs the pending events once and returns.
void DoEvents();

// Sleeps in the event loop until done() holds or the timeout passes; events run
// meanwhile. Returns done() at the end. Never spins: it blocks until an event arrives.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace platform
