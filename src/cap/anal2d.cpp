// The 2-D cap analysis: load steps, Newton iterations on the three cap movements with a
// central-difference tangent of the pile-row sum, the passive resistance of an embedded
// cap, convergence tests, step halving, and the reports of the analysis.
#include "cap/anal2d.h"

#include <cmath>
#include <string>

#include "cap/cappasv.h"
#include "cap/capreport.h"
#include "cap/fvec2d.h"
#include "cap/loadstep.h"
#include "cap/progress.h"
#include "input/units.h"
#include "io/fmt.h"
#include "io/writers.h"
#include "report/captables.h"
#include "report/envewr2d.h"
#include "stiffness/estrec.h"
#include "stiffness/tgtfact.h"

namespace torva {

namespace {

// Convergence floor of the increments and of the totals of a step.
constexpr double FLOOR = 1.0e-10;
// Rotation of the central-difference tangent (the translation is tangent_step), a
// single-precision value as the tangent always used it.
constexpr double STEP_ROT = 1.0000000222353253e-08;

constexpr const char* PASSIVE = "* PASSIVE RESISTANCE IN PILE CAP *";

void progress(const Model& m, int kind, int kstep, double tcur, int kiter) {
  std::string s;
  const bool point = !(m.NPSTF == 1 || m.IPSTF == m.NPSTF);
  if (point) {
    s = m.IESTON == 1 ? " POINT:" : " DOF:";
    put_I(s, m.IPSTF, 3);
    s += "/";
    put_I(s, m.ISTEP, 3);
  }
  s += " STEP:";
  put_I(s, kstep, 5);
  s += " TCUR:";
  if (point && m.IESTON == 1)
    put_F(s, tcur, 9, 3);
  else
    put_F(s, tcur, 10, 4);
  s += " ITERATION:";
  put_I(s, kiter, 5);
  progress_message(m, {progress_head(m, kind), s, ""});
}

// A trace record: a label and the values in E18.10.
void trace(TextFile& f, const char* label, const double* v, int n) { trace_vec(f, label, v, n, 18, 10); }

// A value line of the cap tables: 10 blanks and three reals of 18 columns.
constexpr CapCols kCapCols{10, 18, 5};

void value_line(TextFile& f, const Vec3& v) { cap_values(f, kCapCols, v.data(), 3); }

// The load and displacement tables at the origin (results report and summary report).
void origin_tables(Model& m, TextFile& f, const Vec3& FV, const Vec3& DV) {
  origin_tables_2d(m, f, FV.data(), DV.data(), kCapCols, 5);
}

// The tables of the point of definition (results report, then summary report).
void point_tables(Model& m, TextFile& f, const Arr1<double, 3>& pt, const Vec3& Fp,
                  const Vec3& Dp, const char LA[3], const char LB[3]) {
  const std::string_view f4 = m.UFOR4.view(), f3 = m.UFOR3.view(), l2 = m.ULEN2.view(),
                         d2 = m.UDEP2.view();
  f.nl().nl().X(5).A("* POINT OF DEFINITION").A(" DISPLACEMENT/LOADS *").nl();
  f.nl().nl().X(10).A("  COORD. X ,").A(d2).X(6).A("   COORD. Y ,").A(d2).nl();
  WRTBLANK(f, 5);
  WRTREAL(f, 19, 5, TOFT(m, pt(1)));
  WRTREAL(f, 19, 5, TOFT(m, pt(2)));
  ENDLINE(f);
  f.nl().nl().X(5).A("* CONCENTRATED LOAD").A(" AT SPECIFIED POINT *").nl();
  f.nl().X(13).A("VERT. LOAD,").A(f4).A(std::string_view(&LA[0], 1)).X(3).A("HORI. LOAD,").A(f4);
  f.A(std::string_view(&LA[1], 1)).X(3).A("MOMENT,").A(l2).A("-").A(f3).A(std::string_view(&LA[2], 1)).nl();
  value_line(f, Fp);
  f.nl().nl().X(5).A("* DISPLACEMENT OF GROUPED PILE ").A("FOUNDATION AT SPECIFIED POINT *").nl();
  f.nl().X(16).A("VERTICAL,").A(l2).A(std::string_view(&LB[0], 1)).X(5).A("HORIZONTAL,").A(l2);
  f.A(std::string_view(&LB[1], 1)).X(4).A("ROTATION,").A("RAD").A(std::string_view(&LB[2], 1)).nl();
  value_line(f, Dp);
}

void axial_warning(Model& m, bool bearing) {
  const char* head = bearing ? "SOME PILES, MAY FAIL IN BEARING!" : "SOME PILES, MAY FAIL IN PULL OUT!";
  pile_warning(m, head,
               bearing ? "AXIAL DISPLACEMENT ESTIMATED IS LARGER THAN"
                       : "AXIAL DISPLACEMENT ESTIMATED IS SMALLER THAN",
               bearing ? "MAXIMUM DISPLACEMENT DEFINED" : "MINIMUM DISPLACEMENT DEFINED",
               " IN LOAD-SETTLEMENT CURVE", head);
}

}  // namespace

void ANAL2D(Model& m, int kind, int& IPYSAVE, int& status, Vec3& FVLAST, Vec3& DVLAST,
            const Vec3& loads, const Vec3& PTLOAD, const Vec3& PTDISP,
            const Arr1<double, 3>& PTXYZ, const Flags3& PTCOND) {
  IPYSAVE = m.IPYOUT;
  m.IPYOUT = 0;
  m.IOPASS = 0;
  m.NWBEAR = m.NWPULL = m.NWTORS = 0;
  m.IWFILE = 0;
  // A state left by the previous analysis must not decide this one's outcome.
  m.ISTATE = 0;
  const Vec3 FV0 = loads;
  const bool point_case = kind == 0 && m.ICASE >= 1 && m.ICASE <= MAXLC && m.IDISP(m.ICASE) > 0;
  m.RUNLOG.nl().line("     GLOBAL ITERATIONS");
  m.RUNLOG.flush();

  Vec3 FV, RV, DFV, DDV, DV, UDV, DVCONV, RUV3;
  for (Vec3* v : {&FV, &RV, &DFV, &DDV, &DV, &UDV, &DVCONV, &RUV3}) v->fill(0.0);
  Mat3 SS, SSRAW, KPASV, SSINV;
  SS.fill(0.0);
  SSRAW.fill(0.0);
  KPASV.fill(0.0);
  Mat6 SE;
  Vec6 DFUV, RUV, DDUV;
  DFUV.fill(0.0);
  RUV.fill(0.0);
  DDUV.fill(0.0);
  // The passive resistance of an embedded cap at the last state accepted, for the report.
  Passive2d pasvconv;
  pasvconv.pos = m.NROW > 0 ? m.HEADDEP(m.NROW) : 0.0;

  const CapNoise noise = cap_noise(m, false);
  LoadStepper stepper(m.FACINC);
  double& TCUR = stepper.TCUR;
  double& DTCUR = stepper.DTCUR;
  double& TCONV = stepper.TCONV;
  int KSTEP = 0, KITER = 0, ICONVG = 0;
  const double d = tangent_step(m);
  const double steps[3] = {d, d, STEP_ROT};
  const double band = passive_band(m);

  // The state at a cap displacement D: the pile-row sum (its warnings captured), the load
  // of the step with the cap's passive force there, and the residual. False when a pile
  // row's evaluation ends the analysis (status set).
  struct State {
    Vec3 RV, FV, DFV, FPASV, rows;
    Passive2d pasv;
    double phi = 0.0;
    bool closed = true;
  };
  auto evaluate = [&](const Vec3& D, State& S) {
    m.NWBEAR = m.NWPULL = 0;
    m.ISTATE = 0;
    // The cap's movement measure at which user p-y curves give the cap-level pressure, by
    // the rule of the 3-D cap (without it the pressure of user curves would stay at zero
    // movement and the cap would get no resistance): this state's own, so that its
    // passive force, and its residual, belong to the state alone.
    if (m.ICAPOPT == 1) m.CAPUH = std::sqrt(std::fabs(D(2)));
    if (!captured_sum(m, status, [&] { FVEC2D(m, S.RV, D, status); })) return false;
    S.closed = m.ISTATE != 1;
    ROWMAGS2D(m, S.rows);
    for (int i = 1; i <= 3; ++i) S.FV(i) = TCUR * FV0(i);
    S.FPASV.fill(0.0);
    if (m.ICAPOPT == 1) {
      S.pasv = PASSIVE2D(m);
      S.pasv.load(D(2), S.FPASV, band);
      for (int i = 1; i <= 3; ++i) {
        S.FV(i) += S.FPASV(i);
        S.rows(i) += std::fabs(S.FPASV(i));
      }
    }
    for (int i = 1; i <= 3; ++i) S.DFV(i) = S.FV(i) - S.RV(i);
    S.phi = scaled_residual(S.DFV.data(), 3, 2, noise.L);
    return true;
  };
  // Equilibrium of a state against what the step must carry: the load applied, or the
  // unbalanced force of the attempt's first state where that is larger (a soil movement
  // loads the piles with no load on the cap).
  Vec3 carried;
  auto balanced = [&](const Vec3& D, const State& S) {
    return cap_in_equilibrium(m, S.DFV.data(), carried.data(), S.rows.data(), std::hypot(D(1), D(2)), 3,
                              2, noise);
  };

  if (m.FACINC > 1.0) {
    m.TCURSM = 1.0;
  } else {
    bool done = false;
    while (!done && TCUR <= 1.0) {
      ++KSTEP;
      m.TCURSM = TCUR;
      step_line(m, KSTEP, TCUR, DTCUR);
      UDV.fill(0.0);
      m.IPYPRT = 0;
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
        progress(m, kind, KSTEP, TCUR, KITER);
        if (stop_requested(m)) {
          status = ST_STOP;
          return;
        }
        if (!evaluated && !evaluate(DV, cur)) return;
        evaluated = false;
        if (KITER == 1) {
          search.start(cur.phi);
          for (int i = 1; i <= 3; ++i)
            carried(i) = std::max(std::fabs(TCUR * FV0(i)), std::fabs(cur.DFV(i)));
        }
        if (!cur.closed) break;
        FV = cur.FV;
        RV = cur.RV;
        DFV = cur.DFV;
        if (m.ICAPOPT == 1) {
          // The passive tangent: only the direction and the partly mobilised branch follow
          // the perturbed horizontal movement.
          Vec3 fp, fm;
          cur.pasv.load(DV(2) + d, fp, band);
          cur.pasv.load(DV(2) - d, fm, band);
          KPASV.fill(0.0);
          for (int i = 1; i <= 3; ++i) KPASV(i, 2) = (fp(i) - fm(i)) * 0.5 / d;
        }
        m.SOLVTRACE.nl();
        m.SOLVTRACE.X(1).I(KITER, 11).nl();

        // Tangent by central differences of the pile-row sum: the three minus steps, then
        // the three plus steps.
        Vec3 Rm[3], Rp[3];
        for (int pass = 0; pass < 2 && status == 0; ++pass)
          for (int j = 1; j <= 3 && status == 0; ++j) {
            Vec3 Dp = DV;
            Dp(j) += pass == 0 ? -steps[j - 1] : steps[j - 1];
            FVEC2D(m, pass == 0 ? Rm[j - 1] : Rp[j - 1], Dp, status);
          }
        if (status != 0) return;
        if (m.ISTATE == 1) break;
        for (int j = 1; j <= 3; ++j)
          for (int i = 1; i <= 3; ++i)
            SS(i, j) = (Rp[j - 1](i) - Rm[j - 1](i)) * 0.5 / steps[j - 1] - KPASV(i, j);
        SSRAW = SS;
        trace_matrix(m.SOLVTRACE, "SS  ", 1, SS, 3, 18, 10);
        if (KITER == 1) symmetrize(SS, 3);

        bool singular = false;
        if (point_case) {
          if (KITER == 1) clip_coupling(SS, 3);
          PTMAT2D(SE, SS, PTXYZ, PTCOND);
          trace_matrix(m.SOLVTRACE, "SE  ", 1, SE, 6, 18, 10);
          int ising = 0;
          MATINVS(SE, 6, ising);
          singular = ising == 1;
          if (!singular) {
            // The load a prescribed displacement needs is what the rows and the cap's own
            // passive resistance hold together (the passive force stands on the load's side).
            Vec3 held;
            for (int i = 1; i <= 3; ++i) held(i) = RV(i) - cur.FPASV(i);
            PTRHS2D(DFUV, RUV, DFV, held, PTDISP, DV, PTXYZ, PTCOND);
            MATVEC6N(DDUV.data(), SE.data(), DFUV.data(), 1);
            for (int i = 1; i <= 3; ++i) {
              DDV(i) = DDUV(i);
              RUV3(i) = RUV(i);
            }
          }
        } else {
          singular = SCALED_SINGULAR(SSRAW.data(), 3, 3) || !INV3(SS, SSINV);
          if (!singular) MATVEC3(DDV, SSINV, DFV);
        }
        if (singular) {
          singular_warning(m);
          m.ISTATE = 2;
          break;
        }
        // The increment is taken only as far as it reduces the residual: where the rows'
        // response steepens towards a movement (curves without an initial slope about a
        // change of sign of the deflection, or the piles moving with a moving soil) a full
        // Newton step overshoots to the other side, and the iterations would cycle. The
        // trials: the full increment; then, where it carries a movement across zero to a
        // larger one of the other sign, the increment with that movement stopped at zero
        // (the rows' tangent spans a step far wider than such a movement, and is too soft
        // about zero); then halves of the full increment. The state at the trial taken is
        // the next iteration's.
        double lam = 1.0;
        bool stopped = false;
        Vec3 newton = DDV;  // the Newton increment, whatever part of it is taken
        // Whether the increment carries movement i across zero to a larger one of the other sign.
        const auto crosses_zero = [&](int i) {
          return DV(i) != 0.0 && (DV(i) > 0.0) != (DV(i) + DDV(i) > 0.0) &&
                 std::fabs(DV(i) + DDV(i)) > std::fabs(DV(i));
        };
        if (!point_case) {
          Vec3 stop = DDV;
          bool crosses = false;
          for (int i = 1; i <= 3; ++i)
            if (crosses_zero(i)) {
              stop(i) = -DV(i);
              crosses = true;
            }
          const SearchEnd end = search_line<3>(m, search, KITER, DV, DDV, crosses ? &stop : nullptr,
                                               evaluate, balanced, cur, lam, stopped);
          if (end == SearchEnd::kEnded) return;
          if (end == SearchEnd::kFailed) break;
          evaluated = true;
        } else {
          // A prescribed displacement's residual holds the reactions at the prescribed
          // freedoms, which the line search does not measure: there a movement that the
          // increment carries across zero to a larger one of the other sign is set back to
          // zero, where the rows' response is centred.
          for (int i = 1; i <= 3; ++i)
            if (crosses_zero(i)) DDV(i) = -DV(i);
        }
        for (int i = 1; i <= 3; ++i) {
          DV(i) += DDV(i);
          UDV(i) += DDV(i);
        }
        if (point_case) {
          double udv[6], duv[6], ffuv[6];
          for (int i = 0; i < 3; ++i) {
            udv[i] = UDV(i + 1);
            duv[i] = DV(i + 1);
            udv[i + 3] = duv[i + 3] = DDUV(i + 4);
          }
          for (int i = 0; i < 6; ++i) ffuv[i] = DFUV(i + 1) + RUV(i + 1);
          trace(m.SOLVTRACE, "DDUV ", DDUV.data(), 6);
          trace(m.SOLVTRACE, "DFUV ", DFUV.data(), 6);
          trace(m.SOLVTRACE, "UDUV ", udv, 6);
          trace(m.SOLVTRACE, "DUV  ", duv, 6);
          trace(m.SOLVTRACE, "FFUV ", ffuv, 6);
          trace(m.SOLVTRACE, "RUV  ", RUV.data(), 6);
        } else {
          trace(m.SOLVTRACE, "DDV  ", DDV.data(), 3);
          trace(m.SOLVTRACE, "DFV  ", DFV.data(), 3);
          trace(m.SOLVTRACE, "UDV  ", UDV.data(), 3);
          trace(m.SOLVTRACE, "DV   ", DV.data(), 3);
          trace(m.SOLVTRACE, "FV   ", FV.data(), 3);
          trace(m.SOLVTRACE, "RV   ", RV.data(), 3);
        }
        CapNorms n{};
        // The convergence measures of the Newton increment, the distance to equilibrium the
        // tangent sees, also where the line search took part of it.
        DNORM2D(newton, n.IncDsp, n.IncRot);
        DNORM2D(UDV, n.TotDsp, n.TotRot);
        DMAX2D(newton, n.MaxDsp, n.MaxRot);
        iteration_lines(m, KITER, n);
        if (stopped)
          line_search_stopped(m);
        else if (lam < 1.0)
          line_search_line(m, lam);
        const CapNorms last = prev;
        prev = n;
        if (KITER == 1) continue;
        // Accepted when converged, or when the increments only follow the jitter of the
        // pile closures; and only in equilibrium: the state accepted is the one the
        // increment reached, evaluated above.
        if ((cap_converged(m, n, KITER, FLOOR) || cap_stalled(m, n, last, KITER, FLOOR, 0.0, noise)) &&
            (point_case || (cur.closed && balanced(DV, cur)))) {
          converged = true;
          break;
        }
        if (KITER > m.MAXITFND) break;
      }
      if (converged) {
        ICONVG = 1;
        for (int i = 1; i <= 3; ++i) DVCONV(i) += UDV(i);
        DV = DVCONV;
        pasvconv = cur.pasv;
        done = stepper.accept();
        continue;
      }
      // A failed attempt: retry halfway between the last converged factor and the one that
      // failed, with half the increment, until the increment falls below the minimum. It
      // counts as the iteration limit plus one, whether it ran out of iterations or ended
      // early on a pile that did not close or a singular tangent.
      KITER = m.MAXITFND + 1;
      DV = DVCONV;
      ICONVG = -1;
      done = attempt_failed(m, stepper, KSTEP);
    }
  }

  // Closing part: DV is the displacement of the last converged step.
  if (m.NWBEAR > 0) {
    axial_warning(m, true);
    m.ISTATE = 3;
  }
  if (m.NWPULL > 0) {
    axial_warning(m, false);
    m.ISTATE = 3;
  }
  if (m.ISTATE == 3) {
    replay_warnings(m, 3 * (m.NWBEAR + m.NWPULL));
    if (m.IESTON == 1) m.ICONV = -1;
  }
  if (failed_outcome(m, KSTEP == 1 && ICONVG == -1, 3, TCONV)) return;
  // The load reached: the last converged factor of the case load (a step that failed after
  // earlier ones had converged leaves the load it attempted).
  for (int i = 1; i <= 3; ++i) FV(i) = TCONV * FV0(i);
  if (m.MODSTF == 2) {  // a point of the flexibility estimation: its records only
    const double dv[3] = {DV(1), DV(2), DV(3)};
    ESTRECPOINT(m, m.IPSTF >= 1 && m.IPSTF <= 3 ? FV(m.IPSTF) : 0.0, dv, 3);
    // Complete, or the part of the level's load reached (its records are the load reached).
    solved_outcome(m, TCONV);
    return;
  }
  if (m.IESTON == 1) {
    DVLAST = DV;
    FVLAST = FV;
    if (m.ICONV > 0) {
      if (!target_check(m, DV(m.IDOFT >= 1 && m.IDOFT <= 3 ? m.IDOFT : 1))) return;
      // The cap tangent and the pile states of this point for the estimation.
      state_matrix(m.STATEFILE, SSRAW, 3);
      m.IOPASS = 2;
      if (!open_scratch(m, m.PILESCR, R_PILESCR, status)) {
        m.IOPASS = 0;
        return;
      }
      FVEC2D(m, RV, DV, status);
      m.PILESCR.close();
      if (status != 0) {
        m.IOPASS = 0;
        return;
      }
      m.IPROPTE = m.IPRTOPT;
      m.INODSTE = m.NPRSTEP;
      // The pass refreshed the pile states only: no pile tables at a level point.
      EQSTIF2D(m, m.STATEFILE);
      m.IOPASS = 0;
      solved_outcome(m, TCONV);
      return;
    }
  }

  // Ordinary output at the last converged load factor (FV is its load).
  m.TCURSM = TCONV;
  Vec3 PTL;
  for (int i = 1; i <= 3; ++i) PTL(i) = TCONV * PTLOAD(i);
  m.SUMSCR.nl().X(5).A(kTableL).nl();
  m.REPORT.nl().nl().nl().X(5).A(kTableL).nl();
  if (point_case) {
    COPY3(RUV3, FV);
    Vec3 Dp, Fp;
    int done = 0;
    PTTRANS2D(DV, FV, PTXYZ, Dp, Fp, PTL, PTCOND, done);
    char LA[3], LB[3];
    DOFLABEL2D(m, PTCOND, LA, LB);
    if (done == 1) {
      point_tables(m, m.REPORT, PTXYZ, Fp, Dp, LA, LB);
      point_tables(m, m.SUMMARY, PTXYZ, Fp, Dp, LA, LB);
    }
  }
  origin_tables(m, m.REPORT, FV, DV);
  m.REPORT.nl().nl().X(10).A("NUMBER OF ITERATIONS = ").I(KITER, 3).nl();
  m.RUNLOG.nl().X(10).A("NUMBER OF GLOBAL ITERATIONS = ").I(KITER, 4).nl().nl();
  m.RUNLOG.flush();
  summary_origin(m, "XY", "Z", FV.data(), DV.data());
  m.SUMMARY.nl().nl().nl().X(5).A(kTableL).nl();
  origin_tables(m, m.SUMMARY, FV, DV);
  PLOTCAP2D(m, FV, DV);
  if (m.IDOFT >= 1 && m.IDOFT <= 3) m.DCOMP = DV(m.IDOFT);
  CAPENV2D(m, FV, DV);
  partial_load_warning(m, TCONV);
  m.IOPASS = 1;
  if (m.ICAPOPT == 1) {
    // The passive force of the displacement reported, from the block of the state last
    // accepted (a failed step leaves the displacement of the last converged one).
    Vec3 fp;
    pasvconv.load(DV(2), fp, band);
    const double sR = -fp(2);
    if (m.IPRTOPT >= 0)
      for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
        f->nl().nl().X(5).A(PASSIVE).nl();
        f->nl().X(5).X(9).A("HORI. LOAD,").A(m.UFOR3.view()).X(6).A("POSITION,").A(m.ULEN3.view()).nl();
        WRTBLANK(*f, 10);
        WRTREAL(*f, 18, 5, sR);
        WRTREAL(*f, 18, 5, pasvconv.pos);
        ENDLINE(*f);
      }
    m.PLOTDATA.line(PASSIVE);
    WRTREAL(m.PLOTDATA, 18, 8, sR);
    WRTBLANK(m.PLOTDATA, 5);
    WRTREAL(m.PLOTDATA, 18, 8, pasvconv.pos);
    WRTBLANK(m.PLOTDATA, 5);
    ENDLINE(m.PLOTDATA);
  }
  if (m.IPRTOPT > 0)
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl().nl().nl().X(5).A(kTableM).nl();

  // Output pass: every pile row stores its results for the converged cap displacement.
  if (!open_scratch(m, m.PILESCR, R_PILESCR, status)) return;
  FVEC2D(m, RV, DV, status);
  m.PILESCR.close();
  if (status != 0) return;  // a row that fails here leaves no results: the run's error
  m.IPROPTE = m.IPRTOPT;
  m.INODSTE = m.NPRSTEP;
  ENVEWR2D(m, 0, 0, status);
  if (m.MODSTF == 0) ++m.NRESLT;
  if (status == 0) solved_outcome(m, TCONV);
}

Passive2d PASSIVE2D(Model& m) {
  Passive2d p;
  CAPMEANS(m);
  const double gs = m.GSDMEAN, w = m.CAPPMEAN;
  const double a = m.NROW > 0 ? m.HEADDEP(m.NROW) : 0.0;
  p.pos = a;
  if (gs < -1.0e-6) {
    PASVBLOCK(w, gs, m.CAPTHK, a, p.R, p.M);
    double e = std::fabs(gs), f = 0.0;
    if (e > m.CAPTHK) {
      f = (e - m.CAPTHK) * w / e;
      e = m.CAPTHK;
    }
    // Without a reaction there is no resultant; its position is reported at the cap.
    if (p.R != 0.0) p.pos = a - (e / 2.0) * (f * e + (w - f) * e / 3.0) / std::fabs(p.R);
  }
  return p;
}

void Passive2d::load(double dv2, Vec3& F, double band) const {
  // The 3-D cap's load for a movement along Y alone: its Y force and its moment about Z.
  Vec6 F6;
  PASVLOAD(R, M, dv2, 0.0, F6, band);
  F(1) = 0.0;
  F(2) = F6(2);
  F(3) = F6(6);
}

void EQSTIF2D(Model& m, TextFile& f) { pile_state_records(m, f, false); }

}  // namespace torva
