// The tag SNP file ("-t"): whitespace-separated base-pair positions of the
// SNPs whose genotypes are also written to the tag genotype files.
#ifndef VORDEL_SIM_TAG_SNPS_H
#define VORDEL_SIM_TAG_SNPS_H

#include <set>

#include <boost/filesystem/path.hpp>

#include "sim/parameters.h"

// Reads the positions of the tag SNP file (decimal integers, optionally
// signed); repeats collapse.  Throws badfilename when the file cannot be
// opened or read, or holds a word that is not an integer.
std::set<int> read_tag_positions(const boost::filesystem::path& file);

// The tag positions of a run: those of params.tag_snp_file when "-t" was
// given, else none.  Throws as read_tag_positions.
std::set<int> read_tag_snps(const VordelParameters& params);

#endif
