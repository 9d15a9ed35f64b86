// The association-test result tables that end the run report: each disease
// SNP tested alone, then all of them together, by additive logistic
// regression of case status on allele counts.
#ifndef VORDEL_SIM_RESULT_TABLES_H
#define VORDEL_SIM_RESULT_TABLES_H

#include <ostream>
#include <vector>

// Writes both tables into `report`, numbers in general notation with 4
// significant digits; the stream's format is left as it was.  A model whose
// fit meets a singular information matrix is reported as not fitted (see
// kNotFittedRow and kNotFittedJoint), and so is one whose iterations do not
// converge, with their cause; the other tests still run.  Models with
// figures whose cases and controls are separated are named after their
// table (kSeparatedSnp, kSeparatedJoint).
void write_result_tables(std::ostream& report, const std::vector<std::vector<int>>& haplotypes,
                         const std::vector<int>& phenotypes, const std::vector<int>& dl_indices);

// Written after the index of a disease SNP whose model cannot be fitted.
extern const char* const kNotFittedRow;
// Written in place of the joint model's p-value and table when it cannot be
// fitted.
extern const char* const kNotFittedJoint;
// A model whose cases and controls are separated by the allele counts has no
// maximum-likelihood estimate: its row keeps the figures at which the fit
// stopped, and a line after the table says so.  For a disease SNP, after
// the first table: "Disease SNP " and its index, then this text.
extern const char* const kSeparatedSnp;
// For the joint model, after its table.
extern const char* const kSeparatedJoint;

#endif
