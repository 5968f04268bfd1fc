// A step of a board's protocol that may wait: a coroutine whose result its
// caller awaits. It starts when first awaited (or resumed by whoever runs it)
// and hands control back to its awaiter when it ends, so that a chain of steps
// runs on one stack, without threads. Whether a step blocks or suspends is up
// to the waits inside it (Waits.h).
//
// Write `co_await` only as a statement or as the initializer of a local:
// GCC 12 miscompiles some coroutines that await inside a condition (the
// awaited task is never resumed).
#pragma once

#include <cassert>
#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace relay {

template <class T>
class [[nodiscard]] Task {
 public:
  struct promise_type {
    std::optional<T> value;
    std::exception_ptr failure;
    std::coroutine_handle<> awaiter = std::noop_coroutine();

    Task get_return_object() { return Task(std::coroutine_handle<promise_type>::from_promise(*this)); }
    std::suspend_always initial_suspend() noexcept { return {}; }
    auto final_suspend() noexcept {
      struct BackToAwaiter {
        bool await_ready() noexcept { return false; }
        std::coroutine_handle<> await_suspend(std::coroutine_handle<promise_type> done) noexcept {
          return done.promise().awaiter;
        }
        void await_resume() noexcept {}
      };
      return BackToAwaiter{};
    }
    void return_value(T result) { value.emplace(std::move(result)); }
    void unhandled_exception() { failure = std::current_exception(); }
  };

  Task(Task &&other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  Task &operator=(Task &&other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  Task(const Task &) = delete;
  Task &operator=(const Task &) = delete;
  ~Task() {
    if (handle_) handle_.destroy();
  }

  // Awaiting a task runs it; its result (or exception) comes back.
  bool await_ready() const noexcept { return false; }
  std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiter) noexcept {
    handle_.promise().awaiter = awaiter;
    return handle_;
  }
  T await_resume() { return Result(); }

  // For whoever runs a task from outside a coroutine: start it (it runs until
  // its first suspension, or to its end), see whether it has ended, take its
  // result once it has.
  void Start() { handle_.resume(); }
  bool Done() const { return handle_.done(); }
  T Result() {
    if (handle_.promise().failure) std::rethrow_exception(handle_.promise().failure);
    return std::move(*handle_.promise().value);
  }

 private:
  explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}
  std::coroutine_handle<promise_type> handle_;
};

// Runs a task whose waits all block (no driver) to its end: its result.
template <class T>
T RunBlocking(Task<T> task) {
  task.Start();
  assert(task.Done());
  return task.Result();
}

}  // namespace relay
