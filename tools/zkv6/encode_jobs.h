// Work spread over threads for the encoder: jobs taken in order by a few
// workers, and a progress line on stderr while they run.
#pragma once

#include <functional>

namespace zkv6 {

// Runs job(0) .. job(count - 1), each once, on up to threads workers (at
// least one), taking jobs in increasing order. While they run, the calling
// thread calls progress(done) whenever more jobs are done, and once at the
// end with done = count.
void runJobs(int count, int threads, const std::function<void(int)>& job,
             const std::function<void(int done)>& progress);

// "frame k of N, F frames a second, M:SS left" on stderr, rewritten in place
// when stderr is a terminal; nothing otherwise. finish() ends the line.
class ProgressLine {
 public:
  explicit ProgressLine(int total);
  void update(int done);
  void finish();

 private:
  int total_;
  bool shown_;
  double start_;
  bool written_ = false;
};

}  // namespace zkv6
