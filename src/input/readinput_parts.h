// The section readers of the input data file, shared by the files of READINPUT.
#pragma once

#include <string>

#include "input/freeread.h"
#include "model/model.h"

namespace torva {

// Reads the title line of a section, names the section in the reader for messages and
// writes "READING " with the title to the run log. False when reading must stop.
bool read_title(Model& m, FreeReader& rd, const char* section);
// Accepts a count n read as field f when lo <= n <= hi; otherwise records the failure and
// sets the count to 0, so that no table ever holds a count beyond its capacity. A count whose
// least value is 0 reads no records when it is 0 or less: a negative one is taken as 0.
// False when reading must stop.
bool within(FreeReader& rd, int& n, const Fid& f, int lo, int hi);
// Accepts value v, just read as field f, of a list that the analysis searches in ascending
// order: v is not below the value before it, `prev` (above it when `strict`: the lookup
// divides by their difference). Otherwise records the failure, naming the list `what`.
// False when reading must stop.
bool ascending(FreeReader& rd, double v, double prev, const Fid& f, const char* what,
               bool strict = false);

// Reads the input data file from its title lines to its last section, then checks it.
// Sets the status to ST_INPUTREAD, ST_INPUTCHECK or ST_FILEOPEN on failure, with its message.
void read_input_file(Model& m, LineSource& src, int& status);

// Writes the date block to the run log, the plot data and the three reports.
void WRDATE(Model& m);

// Field names of the pile-group row columns as read (index = column), 3-D and 2-D forms.
extern const char* const kRowI3[11];
extern const char* const kRowR3[15];
extern const char* const kRowI2[8];
extern const char* const kRowR2[10];

// Sections 4 to 6: load cases, load combinations, load-versus-depth curves.
void read_loads(Model& m, FreeReader& rd);
// Sections 7 to 10: pile-group rows, pile properties, cross sections, soil layers.
void read_piles(Model& m, FreeReader& rd);
// Sections 11 to 21: output requests, user curves, moment-curvature data, factors along
// depth, soil movement and plot lists.
void read_options(Model& m, FreeReader& rd);

}  // namespace torva
