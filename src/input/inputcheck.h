// Checks of the input data after reading and before conversion: counts, references and
// values that the later stages divide by or index tables with. A failure ends the run in
// order with ST_INPUTCHECK and a message naming the input file, the line, the section,
// the field, the value found and what is allowed.
#pragma once

#include <string>
#include <vector>

#include "input/freeread.h"
#include "model/model.h"

namespace torva {

// Checks the as-read tables; writes one message per invalid value (the first few) and
// sets the status to ST_INPUTCHECK when any value is refused.
void INPUTCHECK(Model& m, const FreeReader& rd, int& status);

// Writes the message of an unreadable record or an invalid value to the results report
// and the run log.
void report_input_error(Model& m, const ReadError& e);
// The same message for a record of another file the run reads; `file` heads the message
// (as "INPUT DATA FILE: case.dat" heads the input data file's).
void report_read_error(Model& m, const ReadError& e, const std::string& file);
// The lines of that message, for a file read before the reports are open. A failure
// without a section (a list of one name a line) is placed by its line alone.
std::vector<std::string> read_error_lines(const ReadError& e, const std::string& file);

inline constexpr int kUserEI = 10;  // cross-section type whose EI is a user moment-curvature set

// True when cross section k (as read) is nonlinear and takes generated moment-curvature
// sets: every nonlinear type but 10, whose bending stiffness refers to user sets.
bool takes_generated_mphi(const Model& m, int k);

}  // namespace torva
