// Output-file opening (plain or gzip-compressed) and the summary-file flush.
#include "sim/output_file.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <boost/iostreams/categories.hpp>
#include <boost/iostreams/filter/gzip.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include "sim/exceptions.h"
#include "sim/parameters.h"

namespace {

// Buffer of each link of an output chain: large enough that writing a
// large file takes few system calls.
constexpr std::streamsize kBufferSize = 1 << 16;

// The last path component from its last '.' on; empty when it has none.
// Dots in directory names do not count.
std::string file_extension(const boost::filesystem::path& file) {
  const std::string name = file.filename().string();
  const std::string::size_type dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

namespace io = boost::iostreams;

// The file at the end of every output chain.  Unlike a plain file sink it
// does not let a failed write pass unnoticed (a full disk, a lost device):
// the failure is remembered, and closing the file then throws badfilename,
// also when the failed write was a stream's last flush, whose error the
// stream itself swallows.  Copies share one open file.
class checked_file_sink {
 public:
  using char_type = char;
  struct category : io::sink_tag, io::closable_tag {};

  checked_file_sink(const std::string& name, std::ios_base::openmode mode)
      : state_(std::make_shared<State>()) {
    state_->name = name;
    state_->file = std::fopen(name.c_str(), (mode & std::ios_base::app) ? "ab" : "wb");
    // The chain buffers already; each write goes straight to the file.
    if (state_->file) std::setvbuf(state_->file, nullptr, _IONBF, 0);
  }

  bool is_open() const { return state_->file != nullptr; }

  std::streamsize write(const char* s, std::streamsize n) {
    if (!state_->file || std::fwrite(s, 1, static_cast<std::size_t>(n), state_->file) !=
                             static_cast<std::size_t>(n)) {
      state_->failed = true;
      throw badfilename(state_->name, "can't write file.");
    }
    return n;
  }

  void close() {
    if (!state_->file) return;
    std::FILE* const file = state_->file;
    state_->file = nullptr;
    const bool closed = std::fclose(file) == 0;
    if (state_->failed || !closed) {
      state_->failed = true;
      throw badfilename(state_->name, "can't write file.");
    }
  }

 private:
  struct State {
    std::string name;
    std::FILE* file = nullptr;
    bool failed = false;
  };
  std::shared_ptr<State> state_;
};

}  // namespace

std::unique_ptr<std::ostream> open_output_file(const boost::filesystem::path& file,
                                               std::ostream& log, std::ios_base::openmode mode) {
  auto stream = std::make_unique<io::filtering_ostream>();
  const std::string name = file.string();
  if (file_extension(file) == ".gz") {
    log << "writing output file " << name << " (in gzip mode) " << std::endl;
    stream->push(io::gzip_compressor(io::gzip_params(), kBufferSize), kBufferSize);
  } else {
    log << "writing output file " << name << std::endl;
  }
  checked_file_sink sink(name, (mode & ~std::ios_base::in) | std::ios_base::out);
  if (!sink.is_open()) throw badfilename(name, "can't open file.");
  stream->push(sink, kBufferSize);
  return stream;
}

std::unique_ptr<std::ostream> open_output_file(const boost::filesystem::path& file,
                                               std::ios_base::openmode mode) {
  std::ostringstream discarded;
  return open_output_file(file, discarded, mode);
}

void update_summary_file(const Parameters& params, std::ostringstream& report,
                         std::ios_base::openmode mode) {
  std::unique_ptr<std::ostream> summary = open_output_file(params.summary_file, mode);
  const std::string text = report.str();
  std::cout << text << std::flush;
  *summary << text;
  report.str("");
  close_output_file(summary);
}

void close_output_file(std::unique_ptr<std::ostream>& stream) {
  const std::unique_ptr<std::ostream> owned = std::move(stream);
  auto* const chain = dynamic_cast<io::filtering_ostream*>(owned.get());
  // Removing a link from a complete chain flushes and closes the whole
  // chain, letting the sink's error through.
  if (chain && !chain->empty()) chain->pop();
}
