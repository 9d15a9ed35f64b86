// Output files written side by side, each on a thread of its own.
//
// A large file costs its formatting and, when gzip-compressed, its deflate
// stream, which is one thread's work per file; several such files written
// at once take the time of the longest instead of the sum.
//
//   ParallelWriters writers;
//   writers.start(open_output_file(...), [&](std::ostream& out) { ... });
//   writers.start(open_output_file(...), [&](std::ostream& out) { ... });
//   writers.finish();  // joins; throws the first failure in start order
//
// A thread that cannot be started (no thread to be had, or no memory for
// it) is no failure: its file is written on the calling thread instead.
// Every thread is joined before the object is gone, also when an exception
// leaves the scope that owns it.  The write functions must not touch shared
// state that another thread writes (the run report included).
#ifndef VORDEL_SIM_PARALLEL_WRITERS_H
#define VORDEL_SIM_PARALLEL_WRITERS_H

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <ostream>
#include <thread>
#include <vector>

class ParallelWriters {
 public:
  ParallelWriters() = default;
  ParallelWriters(const ParallelWriters&) = delete;
  ParallelWriters& operator=(const ParallelWriters&) = delete;
  // Joins every thread still running; their failures are dropped.
  ~ParallelWriters();

  // Writes `out` with write(*out), then closes it with close_output_file,
  // on a new thread (on the calling thread when no thread can be started).
  // A failure of either is kept for finish().
  void start(std::unique_ptr<std::ostream> out, std::function<void(std::ostream&)> write);

  // Joins every thread, then rethrows the failure of the first file, in the
  // order they were started, that failed.
  void finish();

  // After finish(): true when memory ran out (std::bad_alloc) while the
  // file started k-th, counted from 0, was written or closed.  Several
  // files can run out at once; this tells which did.
  bool ran_out_of_memory(std::size_t k) const;

 private:
  struct Job {
    std::unique_ptr<std::ostream> out;
    std::function<void(std::ostream&)> write;
    std::exception_ptr failure;
    bool out_of_memory = false;  // the failure is std::bad_alloc
    std::thread thread;

    void run() noexcept;
  };

  void join_all() noexcept;

  std::vector<std::unique_ptr<Job>> jobs_;
};

#endif
