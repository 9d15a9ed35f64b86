#include "common/test_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vordel_test {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "vordel2-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore write permission below, so directories a test locked can go.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void write_file(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string read_gzip_file(const fs::path& file) {
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

bool is_gzip_file(const fs::path& file) {
  const std::string text = read_file(file);
  return text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0x1f &&
         static_cast<unsigned char>(text[1]) == 0x8b;
}

RunResult run_program(const std::string& binary, const std::vector<std::string>& args,
                      const fs::path& workdir, unsigned long address_space, unsigned long stack) {
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
    if (address_space > 0) {
      const rlimit limit{address_space, address_space};
      if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(127);
    }
    if (stack > 0) {
      rlimit limit{};
      if (getrlimit(RLIMIT_STACK, &limit) != 0) _exit(127);
      limit.rlim_cur = stack;
      if (setrlimit(RLIMIT_STACK, &limit) != 0) _exit(127);
    }
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

}  // namespace vordel_test
