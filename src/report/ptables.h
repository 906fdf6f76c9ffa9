// All-piles summary tables of a 3-D analysis, read back from the per-pile scratch file,
// and the record layout of that file.
//
// Per pile row the scratch file holds eight lines: global head displacements; global head
// reactions and the head stress; local head displacements; local head reactions and the
// stress; the along-pile minima of the 25 node quantities; their depths; the maxima; their
// depths. The tables show the values with the precision of these records.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "io/textfile.h"
#include "model/model.h"
#include "report/noderes.h"

namespace torva {

using Extremes = std::array<double, NNODEQ>;

// Head record (lines 1 to 4): row in columns 6-11, then n values (general form, 5
// significant digits) in 14-column fields from column 16.
void write_top_record(TextFile& f, int g, const double* v, int n);
// Head record of a 2-D row (lines 1 to 4): row in columns 6-11, then n values (exponent
// form "0.ddddE+xx", 4 digits) in 11-column fields at columns 18, 31, 44 and 57.
void write_top_record_2d(TextFile& f, int g, const double* v, int n);
// Along-pile extremes (lines 5 and 7): row in columns 1-9, 25 values (exponent form, 5
// digits) in 14-column fields from column 12.
void write_extreme_record(TextFile& f, int g, const Extremes& v);
// Depths of the extremes (lines 6 and 8): 5-character caption in columns 6-10, 25 depths
// (fixed form, 4 decimals) in 14-column fields from column 12.
void write_depth_record(TextFile& f, std::string_view caption, const Extremes& depth);

// One real field of a scratch record. Blanks are ignored and an empty field is 0, as in a
// column-field read; the exponent letter may be missing before a signed three-digit
// exponent ("0.12345-100"). A field that holds no number (asterisks of a value the field
// could not show, or anything else) gives NaN, which the tables print as asterisks: it is
// never taken for another value.
double scratch_real(std::string_view field);
// The i-th (0-based) field of a record whose fields start at column `first`, `pitch`
// columns apart and `width` columns wide (the 14-column fields of the 3-D records by
// default; the 2-D head records hold 11-column fields 13 columns apart from column 18).
double scratch_field(const std::string& line, int first, int i, int pitch = 14, int width = 14);
// The integer in the w columns from (0-based) position `at`; blanks or a short record give 0.
int scratch_int(const std::string& line, std::size_t at, std::size_t w);

// Reads the per-pile scratch file back: for every row g = 1..nrow its eight records go to
// `row`(g, rec). False with the status and the file's name set when the file cannot be
// opened or has lost records it was given (the tables would be incomplete). With `held`,
// the tables of one summary read the file once: an empty `held` receives the records
// read, a filled one gives them again.
bool read_pile_records(Model& m, int nrow,
                       const std::function<void(int, const std::string*)>& row, int& status,
                       std::vector<std::string>* held = nullptr);

// Running extremes of one table (n columns) with the rows where they occur; ties keep the
// lower row. Row 1 starts them afresh.
void PTABINIT(int row, int n, const double* values, int* minrow, int* maxrow, double* mn,
              double* mx);

// The seven all-piles tables on the summary report, their extreme lines also on the
// summary scratch file. F are the print flags of the node quantities. A scratch file that
// cannot be read back sets the status (the tables would otherwise be incomplete).
void PTABLES(Model& m, int nrow, const PrintFlags& F, int& status);
// One table: kind 1 global axes, 2 local axes, 3 along-pile extremes; comp 1
// displacements (minima for kind 3), 2 reactions (maxima), 3 the head stress.
// `held`: the records of the summary's earlier tables (see read_pile_records).
void PTABLE(Model& m, int kind, int comp, int nrow, const PrintFlags& F, int& status,
            std::vector<std::string>* held = nullptr);

}  // namespace torva
