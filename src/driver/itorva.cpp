// The exported entry: one complete run on a new process-wide model.
#include "driver/itorva.h"

#include <exception>

#include "driver/runctl.h"

namespace torva {

namespace {
// The model of the last run. It is replaced by the next run and never destroyed at the
// process's end: the system takes its pages back with the address space at once, instead
// of the heap unmapping the tables (and every processor that ran a thread of the process
// dropping their translations) just before. A run closes its files itself.
Model* g_model = nullptr;
}  // namespace

Model* current_model() { return g_model; }

int run_itorva(int mode, bool analyse) {
  if (mode != 3) return ST_BADARG;
  int status = ST_OK;
  try {
    // Every run starts from a zero-initialised model: nothing of a previous run is reused.
    delete g_model;
    g_model = nullptr;
    g_model = new_model().release();
    MAINRUN(*g_model, status, analyse);
  } catch (const std::exception&) {
    // A failure outside the run's stages (the model's allocation, the end of run itself; the
    // stages' own failures end in MAINRUN): close the files instead of ending the host.
    status = ST_INTERNAL;
    if (g_model) {
      try {
        FINISH(*g_model, status);
      } catch (...) {
      }
    }
  } catch (...) {
    status = ST_INTERNAL;
  }
  return status;
}

}  // namespace torva
