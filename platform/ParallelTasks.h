#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

using SteadyDeadline = std::chrono::steady_clock::time_point;

// Runs every task at once, each on a thread of its own, and waits until
// all have finished or the deadline has passed, whichever comes first. The
// results come in the order of the tasks; a task that has not finished by
// the deadline (or threw, or got no thread) has none.
//
// A task that overruns is not stopped: a blocked system call (a name
// lookup, a driver's login) cannot be cut short, so it runs on unseen and
// its result is dropped when it ends. Each task must therefore own
// everything it touches (values and shared pointers, no references to the
// caller's objects).
template <typename T>
std::vector<std::optional<T>> RunInParallel(std::vector<std::function<T()>> tasks, SteadyDeadline deadline) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::optional<T>> results;
    size_t pending = 0;
  };
  const auto shared = std::make_shared<Shared>();
  shared->results.resize(tasks.size());
  for (size_t i = 0; i < tasks.size(); ++i) {
    {
      const std::lock_guard lock(shared->mutex);
      ++shared->pending;
    }
    try {
      std::thread([shared, i, task = std::move(tasks[i])] {
        std::optional<T> result;
        try {
          result = task();
        } catch (...) {
        }
        const std::lock_guard lock(shared->mutex);
        shared->results[i] = std::move(result);
        --shared->pending;
        shared->done.notify_all();
      }).detach();
    } catch (...) {
      const std::lock_guard lock(shared->mutex);
      --shared->pending;
    }
  }
  std::unique_lock lock(shared->mutex);
  shared->done.wait_until(lock, deadline, [&] { return shared->pending == 0; });
  // Copied, not moved: a late task may still write its slot.
  return shared->results;
}

// One task under RunInParallel: its result, or none by the deadline.
template <typename T>
std::optional<T> RunUntil(std::function<T()> task, SteadyDeadline deadline) {
  std::vector<std::function<T()>> tasks;
  tasks.push_back(std::move(task));
  return std::move(RunInParallel<T>(std::move(tasks), deadline).front());
}

}  // namespace platform
