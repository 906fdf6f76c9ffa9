// Warning and message lines of the engine, and their capture inside parallel pile loops.
//
// Any routine may write a complete message line to one or more files through `emit`.
// Outside a parallel loop the line goes straight to the files. Inside a pile-row loop
// each row installs a RowCapture (CaptureScope) in its thread; lines then collect in the
// row's capture and are replayed after the loop in row order, so the reports never
// depend on the thread count or on timing.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/status.h"

namespace torva {

struct Model;

enum MsgDest : unsigned {
  TO_REPORT = 1u,
  TO_RUNLOG = 2u,
  TO_CASELOG = 4u,
  TO_WARNSCR = 8u,
  TO_ECHO = 16u,
  TO_SUMMARY = 32u,
};

// What one row raised inside a parallel loop: its lines, its status and its state word.
struct RowCapture {
  std::vector<std::pair<unsigned, std::string>> lines;
  int status = 0;  // first non-zero status code the row set
  int istate = 0;  // the row's pile-solution state (see combine_istate)
  // Axial and torsion warnings the row counted (added to NWBEAR, NWPULL, NWTORS on replay).
  int nwbear = 0, nwpull = 0, nwtors = 0;
  std::string error;  // the message (file, line, text) of an internal check the row failed
  void clear() {
    lines.clear();
    status = 0;
    istate = 0;
    nwbear = nwpull = nwtors = 0;
    error.clear();
  }
};

// Runs the work of one row of a parallel loop. An exception must not leave the loop: one out
// of `work` (an internal check that failed) becomes the row's status ST_INTERNAL, and the
// check's own message is kept in `cap.error` for the run log.
template <class Work>
void guarded_row(RowCapture& cap, Work&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    cap.status = ST_INTERNAL;
    cap.error = e.what();
  } catch (...) {
    cap.status = ST_INTERNAL;
    cap.error = "exception of unknown type";
  }
}

// Installs `cap` as this thread's capture for the lifetime of the scope.
class CaptureScope {
 public:
  explicit CaptureScope(RowCapture& cap);
  ~CaptureScope();
  CaptureScope(const CaptureScope&) = delete;
  CaptureScope& operator=(const CaptureScope&) = delete;

 private:
  RowCapture* prev_;
};

// The capture of the calling thread, or nullptr outside a row loop.
RowCapture* active_capture();

// Writes one complete line to every file in `dest` (or to the active capture). A line of the
// run log that holds "WARNING" heads a warning and is counted in NWARNLOG when written.
void emit(Model& m, unsigned dest, std::string_view line);

// A file of the run that cannot be opened or written in full ends the run with `code`
// (ST_FILEOPEN or ST_FILEWRITE): a run whose files are not all written never ends as
// completed, nor as merely stopped. The file's path as messages show it and the system's
// reason `err` (none when 0) are kept for the end-of-run message. An error the run had
// already met stays the run's status, with its own message; a file that could not be
// written in full after it is kept in ERRALSO, to be named beside it.
void file_failed(Model& m, int& status, int code, const std::string& path, int err);

// Counts one axial (bearing or pull-out side) or torsion warning: in the active capture
// inside a row loop, otherwise straight into the model's counter.
enum WarnCount { WC_BEAR, WC_PULL, WC_TORS };
void count_warning(Model& m, WarnCount which);

// Writes the captured lines of one row to their files, in the order they were raised,
// and adds the row's warning counts to the model's counters. The message of a failed
// internal check is kept for the end of the run, unless an earlier one is (rows are
// replayed in row order, so it is the lowest-numbered failing row's).
void replay(Model& m, const RowCapture& cap);

// Combines per-row results after a loop, in row order: the status of the lowest-numbered
// failing row stands; the state is 1 if any row set 1, else 4 if any row set 4, else the
// largest other value.
int combine_status(const std::vector<RowCapture>& caps, int first, int last);
int combine_istate(const std::vector<RowCapture>& caps, int first, int last);

}  // namespace torva
