// The process-wide model of one run: every input, model and result table, flattened so
// that a table member reads as m.NAME(i, j) wherever it is declared. A run builds a new,
// zero-initialised model on the heap (tables are several hundred megabytes at their full
// capacity), so nothing leaks from one run into the next.
#pragma once

#include "model/axial_tables.h"
#include "model/cap_tables.h"
#include "model/capfe_tables.h"
#include "model/echo_tables.h"
#include "model/input_tables.h"
#include "model/limits.h"
#include "model/pile_tables.h"
#include "model/py_tables.h"
#include "model/report_tables.h"
#include "model/run_tables.h"
#include "model/soil_tables.h"
#include "model/status.h"
#include "model/table.h"

#include <memory>

namespace torva {

struct Model : RunTables,
               InputTables,
               EchoTables,
               SoilTables,
               PyTables,
               AxialTables,
               PileTables,
               CapTables,
               ReportTables,
               CapfeTables {
  // The tables come from zero-filled memory that the system hands out page by page, so a
  // new model costs only the pages a run touches (the full tables are over 200 MB). The
  // members with constructors (texts, files, work vectors) are constructed in place.
  static void* operator new(std::size_t n);
  static void operator delete(void* p) noexcept;
};

// A new model, zero-initialised on the heap (never by assigning a temporary: the tables
// are far too large for the stack).
std::unique_ptr<Model> new_model();

// The nodes of every pile row's pile (its segments and the four nodes beyond them), summed
// over the rows: the work of one pile solution per row, by which the row loops size their
// threads.
long long ROWNODES(const Model& m);

}  // namespace torva
