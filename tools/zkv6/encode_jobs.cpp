#include "encode_jobs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace zkv6 {

void runJobs(int count, int threads, const std::function<void(int)>& job,
             const std::function<void(int done)>& progress) {
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable changed;
  int done = 0;
  auto work = [&] {
    for (int k; (k = next++) < count;) {
      job(k);
      std::lock_guard lock(mutex);
      ++done;
      changed.notify_one();
    }
  };
  std::vector<std::thread> workers;
  for (int w = 0; w < std::clamp(threads, 1, std::max(count, 1)); ++w) workers.emplace_back(work);
  int reported = 0;
  std::unique_lock lock(mutex);
  while (reported < count) {
    changed.wait(lock, [&] { return done > reported; });
    reported = done;
    lock.unlock();
    progress(reported);
    lock.lock();
  }
  lock.unlock();
  for (std::thread& t : workers) t.join();
  if (count == 0) progress(0);
}

namespace {
double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

ProgressLine::ProgressLine(int total) : total_(total), shown_(total > 1 && isatty(STDERR_FILENO)), start_(now()) {}

void ProgressLine::update(int done) {
  if (!shown_ || done == 0) return;
  const double elapsed = now() - start_, rate = done / std::max(elapsed, 1e-9);
  const int left = static_cast<int>((total_ - done) / rate + 0.5);
  std::fprintf(stderr, "\rframe %d of %d, %.2f frames a second, %d:%02d left ", done, total_, rate, left / 60, left % 60);
  std::fflush(stderr);
  written_ = true;
}

void ProgressLine::finish() {
  if (written_) std::fputc('\n', stderr);
  written_ = false;
}

}  // namespace zkv6
