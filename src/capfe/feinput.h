// The plate model file of the cap: reading, echo on the listing, the checks of the
// control values and of the mesh, and the location of points given by plan coordinates.
#pragma once

#include "capfe/platerun.h"

namespace torva {

class FreeReader;
class LineSource;
struct ReadError;

// Refuses the model for a record that cannot be read or holds a value not allowed: the
// listing and the step log name the line and the field, the results report and the run
// log also the file, the value found and what is allowed, as for the input data file.
void refuse_record(PlateRun& r, const ReadError& e);
// The plate as the cap of the run: its pile switch on, and one pile record per pile row
// (record 1 of the control records read). False, with the model refused, otherwise.
bool check_cap_controls(PlateRun& r, const FreeReader& rd);
// Each pile record at the head of its pile row (X = the row's Z, Y = its Y), within a
// thousandth of the plate's larger plan dimension. Runs before the points are located.
bool check_cap_piles(PlateRun& r, const FreeReader& rd);

// Sizes the model tables from the control block (false, with the run's status set, when
// they cannot be held).
bool size_tables(PlateRun& r);
// Reads the model records after the two control records, echoes them on the listing,
// locates the points, sets the Gauss rule and checks the mesh. False, with the status
// set and the diagnostics written, when the model is refused or cannot be read.
bool FEINPUT(PlateRun& r, FreeReader& rd, LineSource& src);
// Control values: diagnostics and false when any is invalid.
bool CHECK1(PlateRun& r, LineSource& src);
// Mesh, restraints, materials, references and points: diagnostics and false when any
// fault was counted; sets FRONTCAP. `nbadref` faults were counted while reading.
bool CHECK2(PlateRun& r, LineSource& src, int nbadref);
// Element and natural coordinates of `count` points given as X, Y (columns of xy);
// a located point's X, Y are replaced by s, t; a point in no element keeps element 0.
void PNTLOC(PlateRun& r, int count, Dyn2<double>& xy, std::vector<int>& elem);

}  // namespace torva
