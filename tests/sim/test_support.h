// Small toolkit for end-to-end tests of the simulation program: a temporary
// directory removed at the end, text and gzip file helpers, and a runner for
// the vordel2 binary that captures its output and exit status.
#ifndef VORDEL_TESTS_SIM_TEST_SUPPORT_H
#define VORDEL_TESTS_SIM_TEST_SUPPORT_H

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vordel_test {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vordel2-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    // Restore write permission below, so directories a test locked can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

inline void write_file(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

inline std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The decompressed content of a gzip file (every member in turn).
inline std::string read_gzip_file(const fs::path& file) {
  gzFile gz = gzopen(file.c_str(), "rb");
  if (gz == nullptr) throw std::runtime_error("cannot open " + file.string());
  std::string text;
  char buffer[1 << 14];
  int n = 0;
  while ((n = gzread(gz, buffer, sizeof buffer)) > 0) text.append(buffer, n);
  const bool failed = n < 0;
  gzclose(gz);
  if (failed) throw std::runtime_error("corrupt gzip data in " + file.string());
  return text;
}

// True when the file starts with the gzip magic bytes.
inline bool is_gzip_file(const fs::path& file) {
  const std::string text = read_file(file);
  return text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0x1f &&
         static_cast<unsigned char>(text[1]) == 0x8b;
}

struct RunResult {
  int status = -1;  // exit status; 128 + signal number when killed by a signal
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the program at `binary` with `args` (the binary's file name is added
// as argv[0], so the program sees the same command line from any build) in
// the working directory `workdir`.  Output is captured through files in a
// private temporary directory, so `workdir` sees only what the program
// writes.
inline RunResult run_program(const std::string& binary, const std::vector<std::string>& args,
                             const fs::path& workdir) {
  TempDir capture;
  const fs::path out_file = capture / "stdout";
  const fs::path err_file = capture / "stderr";

  std::vector<std::string> words;
  words.push_back(fs::path(binary).filename().string());
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int out_fd = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out_fd < 0 || err_fd < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0 ||
        chdir(workdir.c_str()) != 0)
      _exit(127);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid) throw std::runtime_error("waitpid failed");

  RunResult result;
  if (WIFEXITED(wstatus))
    result.status = WEXITSTATUS(wstatus);
  else if (WIFSIGNALED(wstatus))
    result.status = 128 + WTERMSIG(wstatus);
  result.out = read_file(out_file);
  result.err = read_file(err_file);
  return result;
}

#ifdef VORDEL2_BINARY
// Runs the vordel2 binary built with the tests.
inline RunResult run_vordel2(const std::vector<std::string>& args, const fs::path& workdir) {
  return run_program(VORDEL2_BINARY, args, workdir);
}
#endif

}  // namespace vordel_test

#endif
