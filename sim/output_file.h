// Opening output files, and flushing report text to standard output and the
// summary file.
#ifndef VORDEL_SIM_OUTPUT_FILE_H
#define VORDEL_SIM_OUTPUT_FILE_H

#include <ios>
#include <memory>
#include <ostream>
#include <sstream>

#include <boost/filesystem/path.hpp>

class Parameters;

// Opens `file` for writing with `mode` (input bit removed, output bit added),
// gzip-compressed when the file name's extension is exactly ".gz".  Writes
// "writing output file <name>" to `log` before trying.  Throws badfilename
// when the file cannot be opened.  Close it with close_output_file.
std::unique_ptr<std::ostream> open_output_file(const boost::filesystem::path& file,
                                               std::ostream& log, std::ios_base::openmode mode);
std::unique_ptr<std::ostream> open_output_file(const boost::filesystem::path& file,
                                               std::ios_base::openmode mode);

// Flushes and closes a stream from open_output_file and releases it; does
// nothing for an empty pointer.  Throws badfilename ("can't write file.")
// when anything written to the file was not stored.  A stream released
// without this call is closed too, but such failures then go unreported.
void close_output_file(std::unique_ptr<std::ostream>& stream);

// Echoes the buffered report text to standard output, appends it to the
// summary file named by params.summary_file, and empties the buffer.
// Throws badfilename (buffer untouched, nothing echoed) when the summary file
// cannot be opened.
void update_summary_file(const Parameters& params, std::ostringstream& report,
                         std::ios_base::openmode mode);

#endif
