// Small toolkit for tests that touch files or run the program: a temporary
// directory removed at the end, text and gzip file helpers, and a runner
// that captures a program's output and exit status.
#ifndef VORDEL_TESTS_COMMON_TEST_SUPPORT_H
#define VORDEL_TESTS_COMMON_TEST_SUPPORT_H

#include <filesystem>
#include <string>
#include <vector>

namespace vordel_test {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void write_file(const fs::path& file, const std::string& text);
std::string read_file(const fs::path& file);

// The decompressed content of a gzip file (every member in turn).
std::string read_gzip_file(const fs::path& file);

// True when the file starts with the gzip magic bytes.
bool is_gzip_file(const fs::path& file);

struct RunResult {
  int status = -1;  // exit status; 128 + signal number when killed by a signal
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the program at `binary` with `args` (the binary's file name is added
// as argv[0], so the program sees the same command line from any build) in
// the working directory `workdir`.  Output is captured through files in a
// private temporary directory, so `workdir` sees only what the program
// writes.  A positive `address_space` limits the program's address space to
// that many bytes (as "ulimit -v" does); a positive `stack` limits its stack
// to that many bytes (as "ulimit -s" does), which is also the size of the
// stack of every thread it starts.
RunResult run_program(const std::string& binary, const std::vector<std::string>& args,
                      const fs::path& workdir, unsigned long address_space = 0,
                      unsigned long stack = 0);

#ifdef VORDEL2_BINARY
// Runs the vordel2 binary built with the tests.
inline RunResult run_vordel2(const std::vector<std::string>& args, const fs::path& workdir,
                             unsigned long address_space = 0, unsigned long stack = 0) {
  return run_program(VORDEL2_BINARY, args, workdir, address_space, stack);
}
#endif

}  // namespace vordel_test

#endif
