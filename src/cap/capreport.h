// The reports of a cap analysis that the 2-D and 3-D models write alike: the progress
// heading, the load-step and iteration lines of the run log, the solver trace, the
// warnings of the iteration and of the piles with the replay of the captured pile
// warnings, the outcome lines of the case list, the summary block at the origin, and the
// cap tangent and the pile records on the pile-state file; with them the small steps of the
// iteration that both models take alike (the soil movement at the load factor, the
// symmetric and clipped tangent, a failed attempt). The model-specific texts and sizes are
// arguments.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <type_traits>

#include "cap/loadstep.h"
#include "io/writers.h"
#include "model/model.h"

namespace torva {

// "- ANALYSIS FOR LOAD CASE   i/  n ( t/ T proc.)" (COMB for a combination, kind 1).
std::string progress_head(const Model& m, int kind);

// The free-field soil movement profile at the load factor t of its given values.
void scale_soil_movement(Model& m, double t);

// The run-log line at the start of a load step.
void step_line(Model& m, int kstep, double tcur, double dtcur);

// The norms of one iteration: of the increment, of the step's total, the largest
// component of the increment, and the relative errors (the increment itself when the total
// is zero), displacements and rotations apart.
struct CapNorms {
  double IncDsp, IncRot, TotDsp, TotRot, MaxDsp, MaxRot;
  double ErrDsp = 0.0, ErrRot = 0.0;
};
// Sets the relative errors and writes the iteration's lines on the run log (the largest
// components too with the alternative tolerance, IALTTOL 1).
void iteration_lines(Model& m, int kiter, CapNorms& n);
// Whether iteration kiter has converged, displacements and rotations each: the relative
// error within TOLCAP, the increment or the step's total below `floor` (after 40 iterations
// below `late_floor`, when one is given), or with IALTTOL 1 the largest component of the
// increment within TOLCAPD or TOLCAPR.
bool cap_converged(const Model& m, const CapNorms& n, int kiter, double floor, double late_floor = 0.0);

// What the closure of the pile solutions leaves in the cap movements. A pile solution
// closes when two successive deflected shapes agree within TOLPILE at every node, so the
// pile-head forces of one cap movement carry an error of the soil springs times TOLPILE,
// and a cap increment computed from them carries one of the order of TOLPILE: `dsp` is
// 10 TOLPILE, `rot` that over the group's lever (the largest distance of a pile head from
// the origin across the movement, at least 1 ft). `L` is that lever.
struct CapNoise {
  double dsp = 0.0, rot = 0.0, L = 0.0;
};
CapNoise cap_noise(const Model& m, bool three_d);

// Whether an iteration that cap_converged refuses has reached what the pile closure
// allows: displacements and rotations each pass cap_converged's test or have an increment
// within the noise band that neither shrank to half the previous iteration's nor grew (the
// iteration has stopped converging and only follows the closure's jitter).
bool cap_stalled(const Model& m, const CapNorms& n, const CapNorms& prev, int kiter, double floor,
                 double late_floor, const CapNoise& noise);

// Equilibrium of the cap within its force tolerance, measured against the load: res is
// the ndof residual of the load against the pile-head forces and the cap's own reaction
// (translations then rotations, nt of them), load the load applied, rows the sums over the
// pile rows (and the cap's own reaction) of the magnitudes of their forces, disp the length
// of the cap's translation. Forces within TOLCAP of the largest applied force, moments
// within TOLCAP of the largest applied moment or of the largest force times the lever;
// with them what the closure of the pile solutions leaves in each sum: the noise band
// (widened by TOLCAPD and TOLCAPR times the lever when the alternative tolerances are on)
// through the rows' secant stiffness, rows / disp (disp at least the noise band). A
// secant, not the tangent: where curves without an initial slope meet a change of sign the
// tangent can be stiffer than the rows' response by orders and would let a real imbalance
// pass.
bool cap_in_equilibrium(const Model& m, const double* res, const double* load, const double* rows,
                        double disp, int ndof, int nt, const CapNoise& noise);

// The size of a residual for the line search of the cap iterations: the Euclidean norm of
// its forces and of its moments over the group's lever.
double scaled_residual(const double* res, int ndof, int nt, double lever);

// The line search of the cap iterations: a Newton increment is taken in full when the
// residual at its end is below the residual at its start (by 1e-4 of the fraction taken),
// or within the first kLeeway increments of an attempt below the residual of the attempt's
// start, or is in equilibrium; otherwise halved, at most `kMaxCuts` times. When no fraction
// passes, the increment does not lead towards equilibrium and the attempt fails (the load
// step is halved). The first increments from a new load may raise the residual on their way,
// as a tangent taken at the last load can; later ones may not, so that a cycle or an
// oscillation about a cusp is cut.
class LineSearch {
 public:
  static constexpr int kMaxCuts = 10;
  static constexpr int kLeeway = 3;
  // A new attempt from a state with the residual phi.
  void start(double phi) {
    start_ = last_ = phi;
    n_ = 0;
  }
  // The state reached with the residual phi.
  void taken(double phi) {
    last_ = phi;
    ++n_;
  }
  // Whether the fraction lam, ending at a state whose piles closed (`closed`) with the
  // residual phi, is taken.
  bool accept(double phi, double lam, bool closed, bool in_equilibrium) const {
    const double ref = n_ < kLeeway ? std::max(last_, start_) : last_;
    return closed && (in_equilibrium || phi <= (1.0 - 1.0e-4 * lam) * ref);
  }

 private:
  double start_ = 0.0, last_ = 0.0;
  int n_ = 0;
};
// The run-log line of an increment cut by the line search to the fraction lam.
void line_search_line(Model& m, double lam);
// The run-log line of a 2-D increment whose movements carried across zero were stopped there.
void line_search_stopped(Model& m);
// The run-log lines of iteration kiter whose line search found no fraction down to lam.
void line_search_failed(Model& m, int kiter, double lam);

// How the line search along one Newton increment ended.
enum class SearchEnd {
  kTaken,   // a trial was taken
  kFailed,  // no trial passes: the attempt fails
  kEnded,   // an evaluation ended the analysis (its status is set)
};

// The line search along the Newton increment DDV from the cap displacement DV (n freedoms).
// The trials: the full increment; then, when `stop` is given, the increment *stop (with the
// movements it carries across zero stopped there), counted as a full one; then halves of the
// full increment, down to 2^-kMaxCuts. `evaluate(D, S)` evaluates the state S at D (false
// when that ends the analysis); `balanced(D, S)` tells whether S is in equilibrium. The first
// increment of an attempt (kiter 1) is taken in full, as the plain Newton iteration takes it,
// when no trial passes: a tangent taken at rest, where curves without an initial slope have
// their cusp, can point off, and the iterations from the state it reaches have a tangent of
// the response. On kTaken, DDV becomes the increment taken, `cur` its state (recorded in
// `search`), `lam` the fraction and `stopped` whether it was the stopped increment; on
// kFailed, the run log says so and `lam` is the last fraction tried.
template <int n, class Vec, class State, class Evaluate, class Balanced>
SearchEnd search_line(Model& m, LineSearch& search, int kiter, const Vec& DV, Vec& DDV,
                      const std::type_identity_t<Vec>* stop, Evaluate&& evaluate, Balanced&& balanced,
                      State& cur, double& lam, bool& stopped) {
  Vec taken;
  State trial;
  const auto attempt = [&](bool accept_any) {
    Vec Dt;
    for (int i = 1; i <= n; ++i) {
      taken(i) = stopped ? (*stop)(i) : lam * DDV(i);
      Dt(i) = DV(i) + taken(i);
    }
    if (!evaluate(Dt, trial)) return SearchEnd::kEnded;
    if (accept_any ||
        search.accept(trial.phi, stopped ? 1.0 : lam, trial.closed, trial.closed && balanced(Dt, trial)))
      return SearchEnd::kTaken;
    return SearchEnd::kFailed;
  };
  const auto search_all = [&] {
    lam = 1.0;
    for (int k = 0; k <= LineSearch::kMaxCuts + 1; ++k) {
      if (k == 1 && !stop) continue;
      stopped = k == 1;
      if (k >= 2) lam *= 0.5;
      const SearchEnd end = attempt(false);
      if (end != SearchEnd::kFailed) return end;
    }
    stopped = false;
    if (kiter != 1) return SearchEnd::kFailed;
    lam = 1.0;
    return attempt(true);
  };
  const SearchEnd end = search_all();
  if (end == SearchEnd::kTaken) {
    DDV = taken;
    cur = trial;
    search.taken(cur.phi);
  } else if (end == SearchEnd::kFailed) {
    // No part of the increment reduces the residual: the attempt fails.
    line_search_failed(m, kiter, lam);
  }
  return end;
}

// A trace record: a label and the n values in E(w, d).
void trace_vec(TextFile& f, const char* label, const double* v, int n, int w, int d);
// The n x n matrix A on the trace, a record a row: the label, the row number in iw columns,
// the values in E(w, d).
template <class Mat>
void trace_matrix(TextFile& f, const char* label, int iw, const Mat& A, int n, int w, int d) {
  for (int i = 1; i <= n; ++i) {
    f.A(label).I(i, iw);
    for (int j = 1; j <= n; ++j) f.E(A(i, j), w, d);
    f.nl();
  }
}

// The first tangent of a step made symmetric: each coupling pair takes its mean.
template <class Mat>
void symmetrize(Mat& S, int n) {
  for (int i = 1; i <= n; ++i)
    for (int j = i + 1; j <= n; ++j) S(i, j) = S(j, i) = (S(i, j) + S(j, i)) / 2.0;
}
// Clips the coupling terms of the tangent before the first solve of a point case: row by
// row, an off-diagonal term larger than half the row's diagonal (in magnitude) is cut to
// that value with its own sign, and the symmetric term with it.
template <class Mat>
void clip_coupling(Mat& S, int n) {
  for (int i = 1; i <= n; ++i) {
    const double lim = std::fabs(S(i, i)) / 2.0;
    for (int j = 1; j <= n; ++j)
      if (j != i && std::fabs(S(i, j)) > lim) S(i, j) = S(j, i) = std::copysign(lim, S(i, j));
  }
}

// Opens the scratch file of role r for writing. A file the analysis cannot open ends it
// with the file-open status naming the file (the run log gives the name). True when open.
[[nodiscard]] bool open_scratch(Model& m, TextFile& f, FileRole r, int& status);

// Runs the pile-row force sum `sum` with the pile warnings captured on the warning scratch
// file (IWFILE 1 while it runs). False when the file cannot be opened or the sum sets the
// status word.
template <class Sum>
[[nodiscard]] bool captured_sum(Model& m, int& status, Sum&& sum) {
  if (!open_scratch(m, m.WARNSCR, R_WARNSCR, status)) return false;
  m.IWFILE = 1;
  sum();
  m.WARNSCR.close();
  m.IWFILE = 0;
  return status == 0;
}

// After a failed attempt of a load step: the retry of the stepper (the step number
// taken back), or, with the increments exhausted, the end of the analysis with its warning
// (none after a singular tangent, which has its own). True when the analysis ends.
bool attempt_failed(Model& m, LoadStepper& s, int& kstep);

// A zero determinant of the cap tangent, on the results report and the run log.
void singular_warning(Model& m);
// The load steps exhausted without convergence, on the results report and the run log.
void no_convergence_warning(Model& m);

// A warning on piles beyond their curves: on the results report the heading text `head`
// and the two explaining lines (the second ending with `curve`), on the run log `runlog`.
void pile_warning(Model& m, std::string_view head, std::string_view line2,
                  std::string_view line3, std::string_view curve, std::string_view runlog);
// The first nrec captured pile warnings of the last iteration, to the results report and
// the run log.
void replay_warnings(Model& m, int nrec);

// The outcome of an analysis without a final solution (no convergence on the piles,
// ISTATE 1; a singular tangent, ISTATE 2; no converged step, never_converged): its line
// on the case list, the records of a flexibility level (ndof cap movements), and the
// estimation point marked as failed, and the analysis noted for the end of the run log with
// the load factor it reached. False, with nothing written, otherwise.
bool failed_outcome(Model& m, bool never_converged, int ndof, double reached);
// Below the full load (tconv < 1), the warning on the results and summary reports that the
// results are for part of the load; nothing at the full load.
void partial_load_warning(Model& m, double tconv);
// The outcome line of a solved analysis, written once its output pass has gone through (a
// pass that fails ends the run with its error and leaves no outcome line); below the full
// load also the note for the end of the run log.
void solved_outcome(Model& m, double tconv);

// The summary block at the origin: loads along the axes `faxes` and moments about
// `maxes` (FV), then the displacements along and the rotations about the same axes (DV).
void summary_origin(Model& m, const char* faxes, const char* maxes, const double* FV,
                    const double* DV);

// The cap tangent at the origin on the pile-state file of an estimation point.
template <class Mat>
void state_matrix(TextFile& f, const Mat& S, int n) {
  f.X(5).A("* EQV. STIFFNESS MATRIX AT ORIGIN *").nl();
  for (int i = 1; i <= n; ++i) {
    WRTBLANK(f, 5);
    for (int j = 1; j <= n; ++j) WRTREAL(f, 19, 5, S(i, j));
    ENDLINE(f);
  }
}

// The per-row records of the pile-state file after an estimation output pass: the
// pile-top equivalent stiffnesses (three in 3-D, two in 2-D), the value that opens the
// along-pile list, and per node its depth and its equivalent stiffness (both lateral
// ones in 3-D).
void pile_state_records(const Model& m, TextFile& f, bool three_d);

}  // namespace torva
