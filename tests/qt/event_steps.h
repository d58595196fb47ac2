// Steps run from inside a modal show: each waits, polling the event loop, until its
// condition holds and then acts. They drive the parameters window from the outside as a
// person would, while Build runs its modal loop.
#pragma once

#include <functional>

namespace lorvex::qttest {

// Runs `action` from the event loop once `ready` answers true (checked every 5 ms). After
// `timeoutMs` without it, runs `onTimeout` instead (if given) and stops waiting, so a
// broken window fails a test rather than hangs it.
void When(std::function<bool()> ready, std::function<void()> action, int timeoutMs = 60000,
          std::function<void()> onTimeout = {});

// Forgets every step still waiting (their conditions may refer to a test that has ended).
void CancelSteps();

}  // namespace lorvex::qttest
