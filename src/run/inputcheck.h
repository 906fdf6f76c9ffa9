// Checks of the input data after reading and before conversion: counts, references and
// values that the later stages divide by or index tables with. A failure ends the run in
// order with ST_INPUTCHECK and a message naming the input file, the line, the section,
// the field, the value found and what is allowed.
#pragma once

#include "model/model.h"
#include "run/freeread.h"

namespace torva {

// Checks the as-read tables; writes one message per invalid value (the first few) and
// sets the status to ST_INPUTCHECK when any value is refused.
void INPUTCHECK(Model& m, const FreeReader& rd, int& status);

// Writes the message of an unreadable record or an invalid value to the results report
// and the run log.
void report_input_error(Model& m, const ReadError& e);

}  // namespace torva
