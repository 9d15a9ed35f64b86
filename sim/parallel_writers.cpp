#include "sim/parallel_writers.h"

#include <new>
#include <system_error>
#include <utility>

#include "sim/output_file.h"

ParallelWriters::~ParallelWriters() { join_all(); }

void ParallelWriters::Job::run() noexcept {
  try {
    write(*out);
    close_output_file(out);
  } catch (const std::bad_alloc&) {
    out_of_memory = true;
    failure = std::current_exception();
  } catch (...) {
    failure = std::current_exception();
  }
  // A stream left open by a failure is closed here, on its own thread.
  try {
    out.reset();
  } catch (...) {
  }
}

void ParallelWriters::start(std::unique_ptr<std::ostream> out,
                            std::function<void(std::ostream&)> write) {
  jobs_.push_back(std::make_unique<Job>());
  Job& job = *jobs_.back();
  job.out = std::move(out);
  job.write = std::move(write);
  try {
    job.thread = std::thread(&Job::run, &job);
  } catch (const std::system_error&) {
    job.run();  // no thread to be had: written here instead
  } catch (const std::bad_alloc&) {
    job.run();  // no memory for the thread's state: likewise
  }
}

void ParallelWriters::join_all() noexcept {
  for (const std::unique_ptr<Job>& job : jobs_)
    if (job->thread.joinable()) job->thread.join();
}

void ParallelWriters::finish() {
  join_all();
  for (const std::unique_ptr<Job>& job : jobs_)
    if (job->failure) std::rethrow_exception(job->failure);
}

bool ParallelWriters::ran_out_of_memory(std::size_t k) const {
  return k < jobs_.size() && jobs_[k]->out_of_memory;
}
