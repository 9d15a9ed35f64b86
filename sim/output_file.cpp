// Output-file opening (plain or gzip-compressed) and the summary-file flush.
#include "sim/output_file.h"

#include <iostream>
#include <string>

#include <boost/iostreams/device/file.hpp>
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

}  // namespace

std::unique_ptr<std::ostream> open_output_file(const boost::filesystem::path& file,
                                               std::ostream& log,
                                               std::ios_base::openmode mode) {
  namespace io = boost::iostreams;
  auto stream = std::make_unique<io::filtering_ostream>();
  const std::string name = file.string();
  if (file_extension(file) == ".gz") {
    log << "writing output file " << name << " (in gzip mode) " << std::endl;
    stream->push(io::gzip_compressor(io::gzip_params(), kBufferSize), kBufferSize);
  } else {
    log << "writing output file " << name << std::endl;
  }
  io::file_sink sink(name, (mode & ~std::ios_base::in) | std::ios_base::out);
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
  summary.reset();  // flushes and closes the summary file
}
