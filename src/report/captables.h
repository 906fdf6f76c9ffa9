// The cap part of Table L written alike by the analyses and by the envelopes of both
// models: the load and displacement tables at the origin (or at the point of definition),
// the cap lines of the plot data, and the Table M heading.
#pragma once

#include "model/model.h"

namespace torva {

// The headings of Table L and Table M, and of the node table of a pile.
inline constexpr const char* kTableL = "* TABLE L *   COMPUTATION ON PILE CAP";
inline constexpr const char* kTableM = "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
inline constexpr const char* kEffects = "* EFFECTS FOR LATERALLY LOADED PILE *   ";
inline constexpr const char* kLoadAtOrigin = "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";

// A value line of a cap table: `blanks` blanks, then reals of `width` columns with
// `digits` digits (the report rule).
struct CapCols {
  int blanks, width, digits;
};
void cap_values(TextFile& f, const CapCols& c, const double* v, int n);

// The three-column load and displacement tables at the origin of a 2-D model (vertical,
// horizontal, rotation). rot_gap: the blanks between the horizontal displacement's unit
// and the rotation title.
void origin_tables_2d(Model& m, TextFile& f, const double* FV, const double* DV,
                      const CapCols& c, int rot_gap);

// The load and displacement tables of a 3-D cap (forces, moments, displacements,
// rotations, three columns each) at the origin or, with at_point, at the point of
// definition. With marks (LA beside the loads, LB beside the displacements, six each) a
// mark takes the place of the first blank after its unit label.
void load_disp_tables_3d(Model& m, TextFile& f, bool at_point, const double* P,
                         const double* D, const char* LA, const char* LB, const CapCols& c);

// The cap lines of Table L on the plot data: its heading, the n loads and the n
// displacements at the origin.
void plot_cap(Model& m, const double* FV, const double* DV, int n);

// The Table M heading on the results and summary reports and the summary scratch file.
void table_m_heading(Model& m);

}  // namespace torva
