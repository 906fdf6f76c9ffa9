// The 3-D cap analysis: load steps, Newton iterations on the cap movements, convergence
// tests, step halving, and the reports of the analysis.
#include "cap/anal3d.h"

#include <cmath>
#include <string>

#include "cap/cappasv.h"
#include "cap/capreac.h"
#include "cap/capreport.h"
#include "cap/fvec.h"
#include "cap/progress.h"
#include "cap/ptdef.h"
#include "capfe/capfedrv.h"
#include "input/units.h"
#include "io/writers.h"
#include "report/captables.h"
#include "report/envewr.h"
#include "soil_py/redfac.h"
#include "stiffness/estrec.h"
#include "stiffness/tgtfact.h"

namespace torva {

namespace {

// Convergence floors, single-precision literals as the iteration always used them.
const double TINY_INC = double(1.0e-12f);
const double SMALL_INC = double(1.0e-8f);

struct Progress {
  Model& m;
  int kind;
  std::string head() const { return progress_head(m, kind); }
  bool dof_form() const { return m.NPSTF != 1 && m.IPSTF != m.NPSTF; }
  std::string dof_prefix() const {
    std::string s = " DOF:";
    put_I(s, m.IPSTF, 3);
    s += "/";
    put_I(s, m.ISTEP, 3);
    return s;
  }
  // A progress line: the step, the load factor when given, and the tail.
  void say(int kstep, const double* tcur, const std::string& tail) const {
    std::string s = dof_form() ? dof_prefix() : "";
    s += " STEP:";
    put_I(s, kstep, 5);
    if (tcur) {
      s += " TCUR:";
      put_F(s, *tcur, dof_form() ? 9 : 10, dof_form() ? 3 : 4);
    }
    progress_message(m, {head(), s + tail, ""});
  }
  void iteration(int kstep, double tcur, int kiter) const {
    std::string tail = " ITERATION:";
    put_I(tail, kiter, 5);
    say(kstep, &tcur, tail);
  }
  void step_done(int kstep, double tconv) const { say(kstep, &tconv, " COMPLETED"); }
  void analysis_done(int kstep) const { say(kstep, nullptr, " COMPLETED"); }
};

// A value line of the cap tables: 5 blanks and three reals of 19 columns.
constexpr CapCols kCapCols{5, 19, 5};

// The origin load and displacement tables (REPORT and SUMMARY).
void origin_tables(Model& m, TextFile& f, const Vec6& loads, const Vec6& DV) {
  load_disp_tables_3d(m, f, false, loads.data(), DV.data(), nullptr, nullptr, kCapCols);
}

// The tables of the point of definition: its coordinates, the loads and the displacements
// at the point, marked (LA, LB) on the results report.
void point_tables(Model& m, TextFile& f, const Point3& PTXYZ, const Vec6& Fp, const Vec6& Dp,
                  const char* LA, const char* LB) {
  const std::string_view d2 = m.UDEP2.view();
  f.nl().nl().X(5).A("* POINT OF DEFINITION").A(" DISPLACEMENT/LOADS *").nl();
  f.nl().nl().X(10).A("  COORD. X ,").A(d2).X(6).A("   COORD. Y ,").A(d2).X(5).A("   COORD. Z ,").A(d2).nl();
  const double xyz[3] = {TOFT(m, PTXYZ(1)), TOFT(m, PTXYZ(2)), TOFT(m, PTXYZ(3))};
  cap_values(f, kCapCols, xyz, 3);
  load_disp_tables_3d(m, f, true, Fp.data(), Dp.data(), LA, LB, kCapCols);
}

}  // namespace

void ANAL3D(Model& m, int kind, int& status, Vec6& FVLAST, Vec6& DVLAST, Vec6& loads,
            const Vec6& PTLOAD, Vec6& PTDISP, const Arr1<double, 3>& PTXYZ,
            const Arr1<int, 6>& PTCOND) {
  const Progress prog{m, kind};
  // A load case given at a point of definition: each step solves the extended system.
  const bool point_case = kind == 0 && m.ICASE >= 1 && m.ICASE <= MAXLC && m.IDISP(m.ICASE) > 0;
  m.NWBEAR = m.NWPULL = m.NWTORS = 0;
  m.IWFILE = 0;
  m.ICAPPY = 0;
  if (m.IFEOPT > 0) {
    // A flexible cap: the whole case goes to the plate model (or its model files). The
    // plate's stepping has an outcome like the rigid cap's: the load it reached.
    PlateOutcome plate;
    CAPFEDRV(m, loads.data(), status, &plate, [&m] { return stop_requested(m); });
    m.IOPASS = 0;
    if (status == 0 && plate.ran) {
      m.ISTATE = 0;
      const bool none = plate.cut && plate.steps == 0;
      if (!failed_outcome(m, none, 6, 0.0)) {
        const double reached = plate.complete ? 1.0 : plate.reached;
        partial_load_warning(m, reached);
        solved_outcome(m, reached);
      } else if (none) {
        // The plate's reports hold no table that would show it: they warn as for a part of
        // the load.
        partial_load_warning(m, 0.0);
      }
    }
    return;
  }

  Vec6 FV0 = loads, PTDISP0 = PTDISP;
  Vec6 FV{}, RV{}, DFV{}, DDV{}, DV{}, UDV{}, DVCONV{};
  for (int i = 1; i <= 6; ++i) FV(i) = RV(i) = DFV(i) = DDV(i) = DV(i) = UDV(i) = DVCONV(i) = 0.0;
  Mat6 SS, SSRAW;
  // The extended system of a point case and its vectors: the increment with the
  // multipliers, the right-hand side, its companion, and the sums kept for the trace.
  Mat12 SE;
  Vec12 DDUV, DFUV, RUV, UDUV, DUVCONV;
  SE.fill(0.0);
  for (Vec12* v : {&DDUV, &DFUV, &RUV, &UDUV, &DUVCONV}) v->fill(0.0);
  Vec6 PTDISPS = PTDISP0;  // the given point displacements scaled to the step
  // The passive resistance of an embedded cap at the last state accepted, and the position
  // of its resultant, for the report.
  Vec6 FPASV;
  FPASV.fill(0.0);
  double PASVPOS = m.NROW > 0 ? m.CORX(m.NROW) : 0.0;
  const CapNoise noise = cap_noise(m, true);
  LoadStepper steps(m.FACINC);
  double& TCUR = steps.TCUR;
  double& DTCUR = steps.DTCUR;
  double& TCONV = steps.TCONV;
  int KSTEP = 0, KITER = 0, ICONVG = 0;
  m.ISTATE = 0;
  m.IPYPRT = 0;
  m.RUNLOG.nl().line("     GLOBAL ITERATIONS");
  m.RUNLOG.flush();

  // The state at a cap displacement D: the reduction factors there, the pile-row sum (its
  // warnings captured) with the cap's own reaction (passive force or soil springs of an
  // embedded cap), and the residual against the step's load FV. False when an evaluation
  // ends the analysis (status set): a pile solution or a soil lookup that fails in the
  // cap's reaction ends it as in the force sum.
  struct State {
    Vec6 RV, DFV, FCAP, rows;
    double phi = 0.0;
    bool closed = true;
  };
  const bool cap_reaction = m.ICAPOPT > 0 && (m.ICAPSPR == 0 || m.ICAPSPR == 1);
  auto evaluate = [&](const Vec6& D, State& S) {
    m.ISTATE = 0;
    m.NWBEAR = m.NWPULL = m.NWTORS = 0;
    if (m.IREDFAC > 0) {
      REDUPD3D(m, D, loads, status);
      if (status != 0) return false;
    }
    if (!captured_sum(m, status, [&] { FVEC(m, S.RV, D, status); })) return false;
    S.closed = m.ISTATE != 1;
    ROWMAGS(m, S.rows);
    S.FCAP.fill(0.0);
    if (S.closed && cap_reaction) {
      if (m.ICAPSPR == 0)
        CAPPASV(m, S.FCAP, D, status);
      else
        CAPREAC(m, S.FCAP, D, status);
      if (status != 0) return false;
      for (int i = 1; i <= 6; ++i) {
        S.RV(i) += S.FCAP(i);
        S.rows(i) += std::fabs(S.FCAP(i));
      }
    }
    for (int i = 1; i <= 6; ++i) S.DFV(i) = -(FV(i) + S.RV(i));
    m.ICAPPY = 0;
    S.phi = scaled_residual(S.DFV.data(), 6, 3, noise.L);
    return true;
  };
  // Equilibrium of a state against what the step must carry: the load applied, or the
  // unbalanced force of the attempt's first state where that is larger (a soil movement
  // loads the piles with no load on the cap).
  Vec6 carried;
  auto balanced = [&](const Vec6& D, const State& S) {
    return S.closed && cap_in_equilibrium(m, S.DFV.data(), carried.data(), S.rows.data(),
                                          std::sqrt(D(1) * D(1) + D(2) * D(2) + D(3) * D(3)), 6, 3, noise);
  };

  if (m.FACINC > 1.0) {
    m.TCURSM = 1.0;
  } else {
    bool done = false;
    while (!done && TCUR <= 1.0) {
      ++KSTEP;
      m.TCURSM = TCUR;
      step_line(m, KSTEP, TCUR, DTCUR);
      for (int i = 1; i <= 6; ++i) {
        UDV(i) = 0.0;
        FV(i) = TCUR * FV0(i);
        PTDISPS(i) = TCUR * PTDISP0(i);
      }
      UDUV.fill(0.0);
      KITER = 0;
      // The soil movement of the step acts in every state of its iterations.
      scale_soil_movement(m, TCUR);
      bool converged = false;
      CapNorms prev{};
      State cur;
      bool evaluated = false;  // cur holds the state at DV
      LineSearch search;
      for (;;) {
        ++KITER;
        prog.iteration(KSTEP, TCUR, KITER);
        if (stop_requested(m)) {
          status = ST_STOP;
          return;
        }
        if (!evaluated && !evaluate(DV, cur)) return;
        evaluated = false;
        if (KITER == 1) {
          search.start(cur.phi);
          for (int i = 1; i <= 6; ++i) carried(i) = std::max(std::fabs(FV(i)), std::fabs(cur.DFV(i)));
        }
        if (!cur.closed) break;
        RV = cur.RV;
        DFV = cur.DFV;
        loads = FV;
        if (point_case) PTDISP = PTDISPS;
        {
          const Vec6 DVsave = DV;
          STIFF(m, SS, DV, status);
          DV = DVsave;
        }
        if (cap_reaction) {
          // The tangent of the embedded cap's reaction.
          Mat6 KCAP;
          if (m.ICAPSPR == 0)
            CAPPASVK(m, KCAP, DV, status);
          else
            STIFFCD(m, KCAP, DV, status);
          if (status != 0) return;
          for (int j = 1; j <= 6; ++j)
            for (int i = 1; i <= 6; ++i) SS(i, j) += KCAP(i, j);
        }
        m.ICAPPY = 0;
        if (m.ISTATE == 1) break;
        // Solve for the increment.
        m.SOLVTRACE.nl();
        m.SOLVTRACE.X(1).I(KITER, 11).nl();
        trace_matrix(m.SOLVTRACE, "SS  ", 1, SS, 6, 13, 5);
        SSRAW = SS;
        if (KITER == 1) symmetrize(SS, 6);
        int ising = 0;
        if (point_case) {
          if (KITER == 1) clip_coupling(SS, 6);
          PTMAT(SE, SS, PTXYZ, PTCOND);
          trace_matrix(m.SOLVTRACE, "SE ", 2, SE, 12, 13, 5);
          MATINVS(SE.data(), 12, 12, ising);
        } else {
          MATINVS(SS, 6, ising);
        }
        if (ising == 1) {
          singular_warning(m);
          m.ISTATE = 2;
          break;
        }
        if (point_case) {
          PTRHS(DFUV, RUV, DFV, RV, PTDISPS, DV, PTXYZ, PTCOND);
          MATVEC12(DDUV.data(), SE.data(), DFUV.data());
          for (int i = 1; i <= 6; ++i) DDV(i) = DDUV(i);
        } else {
          MATVEC6(DDV, SS, DFV);
        }
        // The increment is taken only as far as it reduces the residual (see the 2-D
        // analysis); the state at the fraction taken is the next iteration's.
        double lam = 1.0;
        Vec6 newton = DDV;  // the Newton increment, whatever part of it is taken
        if (!point_case) {
          bool stopped = false;
          const SearchEnd end =
              search_line<6>(m, search, KITER, DV, DDV, nullptr, evaluate, balanced, cur, lam, stopped);
          if (end == SearchEnd::kEnded) return;
          if (end == SearchEnd::kFailed) break;
          evaluated = true;
        }
        for (int i = 1; i <= 6; ++i) {
          DV(i) += DDV(i);
          UDV(i) += DDV(i);
        }
        if (point_case) {
          Vec12 DUV, FFUV;
          for (int i = 1; i <= 12; ++i) {
            UDUV(i) += DDUV(i);
            DUV(i) = i <= 6 ? DV(i) : DUVCONV(i) + DDUV(i);
            FFUV(i) = -(DFUV(i) + RUV(i));
          }
          const char* const lab[6] = {"DDUV ", "DFUV ", "UDUV ", "DUV  ", "FFUV ", "RUV  "};
          const double* const val[6] = {DDUV.data(), DFUV.data(), UDUV.data(),
                                        DUV.data(),  FFUV.data(), RUV.data()};
          for (int k = 0; k < 6; ++k) trace_vec(m.SOLVTRACE, lab[k], val[k], 12, 13, 5);
        } else {
          const char* const lab[6] = {"DDV  ", "DFV  ", "UDV  ", "DV   ", "FV   ", "RV   "};
          const double* const val[6] = {DDV.data(), DFV.data(), UDV.data(),
                                        DV.data(),  FV.data(),  RV.data()};
          for (int k = 0; k < 6; ++k) trace_vec(m.SOLVTRACE, lab[k], val[k], 6, 13, 5);
        }
        CapNorms n{};
        // The convergence measures of the Newton increment (see the 2-D analysis).
        DNORM(newton.data(), n.IncDsp, n.IncRot);
        DNORM(UDV.data(), n.TotDsp, n.TotRot);
        DMAX(newton.data(), n.MaxDsp, n.MaxRot);
        iteration_lines(m, KITER, n);
        if (lam < 1.0) line_search_line(m, lam);
        const CapNorms last = prev;
        prev = n;
        if (KITER == 1) continue;
        // Accepted when converged, or when the increments only follow the jitter of the
        // pile closures; and only in equilibrium: the state accepted is the one the
        // increment reached, evaluated above.
        if ((cap_converged(m, n, KITER, TINY_INC, SMALL_INC) ||
             cap_stalled(m, n, last, KITER, TINY_INC, SMALL_INC, noise)) &&
            (point_case || balanced(DV, cur))) {
          converged = true;
          break;
        }
        if (KITER > m.MAXITFND) break;
      }
      if (converged) {
        ICONVG = 1;
        for (int i = 1; i <= 6; ++i) DVCONV(i) += UDV(i);
        for (int i = 7; i <= 12; ++i) DUVCONV(i) = UDUV(i);
        DV = DVCONV;
        if (m.ICAPOPT > 0 && m.ICAPSPR == 0) {
          FPASV = cur.FCAP;
          PASVPOS = std::fabs(FPASV(2)) > 0.0 ? FPASV(6) / FPASV(2) : m.CORX(m.NROW);
        }
        done = steps.accept();
        prog.step_done(KSTEP, TCONV);
        continue;
      }
      // A failed attempt: retry halfway between the last converged factor and the one that
      // failed, with half the increment, until the increment falls below the minimum.
      DV = DVCONV;
      ICONVG = -1;
      done = attempt_failed(m, steps, KSTEP);
      prog.step_done(KSTEP, TCONV);
    }
  }

  // Final part: DV is the displacement of the last converged step.
  prog.analysis_done(m.FACINC > 1.0 ? 0 : KSTEP);
  // Piles beyond their curves: the warning of each kind, then the captured pile warnings
  // in row order.
  struct PileWarning {
    int count;
    const char *head, *line2, *line3, *curve, *reached;
  };
  const PileWarning warnings[3] = {
      {m.NWBEAR, "SOME PILES MAY FAIL IN BEARING!", "AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN",
       "MAXIMUM DISPLACEMENT DEFINED", " IN AXIAL LOAD-DISPLACEMENT CURVE",
       "SOME PILES REACHED MAXIMUM IN BEARING!"},
      {m.NWPULL, "SOME PILES MAY FAIL IN PULL OUT!", "AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN",
       "MINIMUM DISPLACEMENT DEFINED", " IN AXIAL LOAD-DISPLACEMENT CURVE",
       "SOME PILES REACHED MAXIMUM IN PULL OUT!"},
      {m.NWTORS, "SOME PILES MAY FAIL IN TORSION!", "TORSIONAL ROTATION ESTIMATED IS LARGER/SMALLER",
       "THAN MAXIMUM/MINIMUM ROTATION DEFINED", " IN TORQUE-ROTATION CURVE",
       "SOME PILES REACHED MAXIMUM IN TORSION!"},
  };
  for (const PileWarning& w : warnings)
    if (w.count > 0) {
      pile_warning(m, w.head, w.line2, w.line3, w.curve, m.IEXTEND == 1 ? w.reached : w.head);
      m.ISTATE = 3;
    }
  if (m.ISTATE == 3) replay_warnings(m, 3 * (m.NWBEAR + m.NWPULL + m.NWTORS));
  if (m.ISTATE == 3 && m.IESTON == 1) m.ICONV = -1;
  const bool never_converged = KSTEP == 1 && ICONVG == -1;
  if (failed_outcome(m, never_converged, 6, TCONV)) return;
  // The load reached: the last converged factor of the case load (a step that failed after
  // earlier ones had converged leaves the load it attempted).
  for (int i = 1; i <= 6; ++i) loads(i) = TCONV * FV0(i);
  if (m.MODSTF == 2) {
    // A flexibility level: its records, no tables.
    const double dv[6] = {DV(1), DV(2), DV(3), DV(4), DV(5), DV(6)};
    ESTRECPOINT(m, m.IPSTF >= 1 && m.IPSTF <= 6 ? loads(m.IPSTF) : 0.0, dv, 6);
    // Complete, or the part of the level's load reached (its records are the load reached).
    solved_outcome(m, TCONV);
    return;
  }
  if (m.IESTON == 1) {
    FVLAST = loads;
    DVLAST = DV;
    if (m.ICONV > 0) {
      if (!target_check(m, m.IDOFT >= 1 && m.IDOFT <= 6 ? DV(m.IDOFT) : 0.0)) return;
      // The point is finished: the pile states of the final solution for the estimation.
      state_matrix(m.STATEFILE, SSRAW, 6);
      if (!open_scratch(m, m.PILESCR, R_PILESCR, status)) return;
      m.IOPASS = 2;
      int st = 0;
      FVEC(m, RV, DV, st);
      m.PILESCR.close();
      m.IPROPTE = m.IPRTOPT;
      m.INODSTE = m.NPRSTEP;
      m.IOPASS = 0;
      if (st != 0) {
        status = st;
        return;
      }
      EQSTIF(m, m.STATEFILE);
      solved_outcome(m, TCONV);
      return;
    }
  }

  // Full output.
  if (m.IREDFAC > 0) REDREP3D(m);
  m.TCURSM = TCONV;
  scale_soil_movement(m, TCONV);
  m.SUMSCR.nl().X(5).A(kTableL).nl();
  m.REPORT.nl().nl().nl().X(5).A(kTableL).nl();
  if (point_case) {
    // The load at the origin is the reaction sum of the last iteration, with the given
    // point loads at the load level reached.
    VNEG6(RUV.data(), loads.data());
    Vec6 Dp, Fp, PL;
    for (int i = 1; i <= 6; ++i) {
      Dp(i) = Fp(i) = 0.0;
      PL(i) = TCONV * PTLOAD(i);
    }
    int done = 0;
    PTTRANS(DV, loads, PTXYZ, Dp, Fp, PL, PTCOND, done);
    char LA[6], LB[6];
    DOFLABEL(m, PTCOND, LA, LB);
    if (done > 0) {
      point_tables(m, m.REPORT, PTXYZ, Fp, Dp, LA, LB);
      point_tables(m, m.SUMMARY, PTXYZ, Fp, Dp, nullptr, nullptr);
    }
  }
  origin_tables(m, m.REPORT, loads, DV);
  m.REPORT.nl().nl().X(10).A("NUMBER OF GLOBAL ITERATIONS = ").I(KITER, 4).nl();
  m.RUNLOG.nl().X(10).A("NUMBER OF GLOBAL ITERATIONS = ").I(KITER, 4).nl().nl();
  m.RUNLOG.flush();
  summary_origin(m, "XYZ", "XYZ", loads.data(), DV.data());
  if (m.IDOFT > 0 && m.IDOFT <= 6) m.DCOMP = DV(m.IDOFT);
  m.SUMMARY.nl().nl().nl().X(5).A(kTableL).nl();
  origin_tables(m, m.SUMMARY, loads, DV);
  plot_cap(m, loads.data(), DV.data(), 6);
  CAPENV(m, loads, DV);
  partial_load_warning(m, TCONV);
  m.IOPASS = 1;
  if (m.ICAPOPT >= 1 && m.ICAPSPR == 0) {
    // The passive resistance of the embedded cap at the displacement reported.
    if (m.IPRTOPT >= 0)
      for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
        f->nl().nl().X(5).A("* PASSIVE RESISTANCE IN PILE CAP *").nl();
        f->nl().X(5).X(8).A("HOR. LOAD Y,").A(m.UFOR3.view()).X(4).A("HOR. LOAD Z,");
        f->A(m.UFOR3.view()).X(6).A("POSITION,").A(m.UDEP3.view()).nl();
        const double pasv[3] = {std::fabs(FPASV(2)), std::fabs(FPASV(3)), TOFT(m, PASVPOS)};
        cap_values(*f, kCapCols, pasv, 3);
      }
    m.PLOTDATA.line("* PASSIVE RESISTANCE IN PILE CAP *");
    for (double v : {std::fabs(FPASV(2)), std::fabs(FPASV(3)), PASVPOS}) {
      WRTREAL(m.PLOTDATA, 18, 8, v);
      WRTBLANK(m.PLOTDATA, 5);
    }
    ENDLINE(m.PLOTDATA);
  }
  if (m.IPRTOPT > 0) table_m_heading(m);
  // Output pass: every pile row stores its results for the converged cap displacement.
  {
    if (!open_scratch(m, m.PILESCR, R_PILESCR, status)) return;
    int st = 0;
    FVEC(m, RV, DV, st);
    m.PILESCR.close();
    m.IPROPTE = m.IPRTOPT;
    m.INODSTE = m.NPRSTEP;
    if (st != 0) {
      // A row that fails in the output pass leaves stale results: report it as the run's error.
      status = st;
      m.IOPASS = 0;
      return;
    }
    ENVEWR(m, 0, 0, status);
    if (m.MODSTF == 0) ++m.NRESLT;
    if (status == 0) solved_outcome(m, TCONV);
  }
  if (m.IOPASS == 1) {
    // The first word of the title marks the end of an analysis for the host.
    for (int k = 1; k <= 4; ++k) m.TITLE1[k] = m.ENDWRD[k];
  }
  m.IOPASS = 0;
}

void REDUPD3D(Model& m, const Vec6& DV, const Vec6& loads, int& status) {
  if (m.IREDFAC == 1) {
    REDFACY(m, DV(2) < 0.0 ? -1.0 : 1.0, status);
    REDFACZ(m, DV(3) < 0.0 ? -1.0 : 1.0, status);
    for (int g = 1; g <= m.NROW; ++g) {
      m.PMULTY(g) = m.PMULT(g);
      m.YMULTY(g) = m.YMULT(g);
    }
  }
  double a, b;
  if (m.IREDFAC == 3) {
    a = std::fabs(m.REDMOVY);
    b = std::fabs(m.REDMOVZ);
    if (a == 0.0 && b == 0.0) a = b = 1.0;
  } else {
    a = std::fabs(DV(2));
    b = std::fabs(DV(3));
    if (a == 0.0 && b == 0.0) {
      a = std::fabs(loads(2));
      b = std::fabs(loads(3));
      if (a == 0.0 && b == 0.0) {
        a = 1.0;
        b = 0.0;
      }
    }
  }
  const double r = std::sqrt(a * a + b * b);
  const double c = a / r, s = b / r;
  for (int g = 1; g <= m.NROW; ++g) {
    m.PMULT(g) = std::sqrt(std::pow(m.PMULTY(g) * c, 2) + std::pow(m.PMULTZ(g) * s, 2));
    m.YMULT(g) = std::sqrt(std::pow(m.YMULTY(g) * c, 2) + std::pow(m.YMULTZ(g) * s, 2));
  }
}

void REDREP3D(Model& m) {
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl();
    f->X(7).A("REDUCTION FACTORS FOR CLOSELY-SPACED PILE").X(1).A("GROUPS, COMBINED Y AND Z DIRECTIONS").nl();
    if (m.IREDFAC != 3) {
      f->X(7).A("ESTIMATED USING MOVEMENT IN").X(1).A("THE DIRECTION OF PILE CAP DISPLACEMENTS").nl();
      f->X(7).X(33).nl();
    } else {
      f->X(7).A("USING A PREDEFINED MOVEMENT").X(7).X(33).nl();
    }
    f->X(7).A("     GROUP NO     P-FACTOR     Y-FACTOR        ").nl();
    f->nl();
  }
  m.PLOTDATA.X(7).A("*REDUCTION FACTORS FOR CLOSELY-SPACED PILE*").nl();
  for (int g = 1; g <= m.NROW; ++g) {
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      WRTBLANK(*f, 12);
      WRTINT(*f, 5, g);
      WRTBLANK(*f, 5);
      WRTREAL(*f, 12, 4, m.PMULT(g));
      WRTBLANK(*f, 1);
      WRTREAL(*f, 12, 4, m.YMULT(g));
      ENDLINE(*f);
    }
    WRTINT(m.PLOTDATA, 10, g);
    WRTBLANK(m.PLOTDATA, 4);
    WRTREAL(m.PLOTDATA, 18, 8, m.PMULT(g));
    WRTBLANK(m.PLOTDATA, 4);
    WRTREAL(m.PLOTDATA, 18, 8, m.YMULT(g));
    ENDLINE(m.PLOTDATA);
  }
}

void CAPENV(Model& m, const Vec6& P, const Vec6& U) {
  for (int i = 1; i <= 12; ++i) {
    const double v = i <= 6 ? P(i) : U(i - 6);
    if (m.NRESLT == 1) {
      m.EMNCAP(i) = v;
      m.EMXCAP(i) = v;
    } else {
      if (v < m.EMNCAP(i)) m.EMNCAP(i) = v;
      if (v > m.EMXCAP(i)) m.EMXCAP(i) = v;
    }
  }
}

void EQSTIF(Model& m, TextFile& f) { pile_state_records(m, f, true); }

}  // namespace torva
