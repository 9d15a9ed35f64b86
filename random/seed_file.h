// Seed files of the uniform generators, for their CSFD and CSTD: the tag
// checks, the digit reader, and the reading and writing of a whole file.
// Internal to the random-number library.
//
// A file is the tag "!Vorand03!", the words as a fixed number of upper-case
// hexadecimal digits each (most significant first, no separator), the tag
// again and a newline.  A reader skips white space anywhere, between digits
// too.  Failures throw newmat's Runtime_error.
#ifndef VORDEL_RANDOM_SEED_FILE_H
#define VORDEL_RANDOM_SEED_FILE_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

namespace seed_file {

// The value of one digit '0'..'9' or 'A'..'F', shifted left by `shift`
// bits; any other character throws "vorand: invalid character in unhex".
unsigned long unhex(char c, int shift);

// Checks that the tag comes next.  A stream that did not open, or is at its
// end, is "Vorand: can't open seed file", and a missing or wrong tag
// "Vorand: seed file verification fails"; but with new_file set, both a
// missing file and an empty one are accepted.
void ReadVerify(std::istream& in, bool new_file);

// Writes the tag; a stream already failed throws "Vorand: can't access seed
// file".
void WriteVerify(std::ostream& out);

using Words = std::vector<std::uint32_t>;

// The `count` words of `digits` digits each stored in the file named `name`
// in Random::Dir, read between the two tags.  Throws as ReadVerify and
// unhex do, "Vorand: seed file verification fails" when the file ends
// early, and the same when `valid` refuses the words: the caller's state is
// only changed after this returns.
Words read(const char* name, std::size_t count, int digits, bool (*valid)(const Words&));

// Writes `words` with `digits` digits each into the file named `name` in
// Random::Dir.  An existing file must be a seed file (or empty), else it is
// left alone and "Vorand: seed file verification fails" is thrown.  Throws
// "Vorand: can't access seed file" when the file cannot be created, or any
// of it, the final flush and close included, fails to reach the disk.
void write(const char* name, const Words& words, int digits);

}  // namespace seed_file

#endif
