#include "Waits.h"

#include <thread>

namespace relay {

bool WaitFor::await_ready() {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(wait_.deadline - StepClock::now()).count();
  if (left <= 0) return true;  // not ready
  if (driver_ != nullptr) return false;
  if (wait_.socket == net::kInvalidSocket) {
    std::this_thread::sleep_until(wait_.deadline);
    return true;
  }
  const int ms = static_cast<int>(left);
  ready_ = (wait_.writable ? net::WaitWritable(wait_.socket, ms) : net::WaitReadable(wait_.socket, ms)) ==
           net::WaitResult::Ready;
  return true;
}

}  // namespace relay
