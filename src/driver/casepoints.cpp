#include "driver/casepoints.h"

#include <algorithm>
#include <string>

#include "io/writers.h"
#include "pile/loads.h"
#include "stiffness/capcurves.h"
#include "stiffness/capstfhead.h"
#include "stiffness/capstfout.h"
#include "stiffness/captstf.h"
#include "stiffness/rdpilest.h"
#include "stiffness/tgtfact.h"

namespace torva {

namespace {

void warn(Model& m, const std::string& line1, const std::string& line2) {
  for (TextFile* f : {&m.REPORT, &m.RUNLOG}) {
    f->nl().X(5).A("** WARNING **  ").A(line1).nl();
    if (!line2.empty()) f->X(5).A("               ").A(line2).nl();
  }
  m.RUNLOG.flush();
}

bool refuse(Model& m, int c, const std::string& why, int& status) {
  for (TextFile* f : {&m.REPORT, &m.RUNLOG}) {
    f->nl().X(5).A("**** FATAL ERROR ****").nl();
    f->X(5).A("LOAD CASE ").I(c, 5).A(": ").A(why).nl();
  }
  m.RUNLOG.flush();
  status = ST_INPUTCHECK;
  return false;
}

// The point of definition of the case and the values given there.
struct PointDef {
  Vec6& PTLOAD;
  Vec6& PTDISP;
  Arr1<double, 3>& PTXYZ;
  Arr1<int, 6>& PTCOND;
};

// The case's resultant at the origin (for a case given at a point of definition the given
// loads moved to the origin), with its distributed loads at the pile nodes when asked.
void case_load(Model& m, int c, Vec6& R, PointDef& pt, bool distributed) {
  LOADORIG(m, c, R);
  if (m.IDISP(c) > 0) {
    Vec6 P;
    DISPLOAD(m, c, R, pt.PTLOAD, pt.PTDISP, P, pt.PTCOND);
    for (int k = 1; k <= 3; ++k) pt.PTXYZ(k) = P(k);
  }
  if (!distributed) return;
  CASELOAD(m, c);
  DLOADORIG(m, R);
}

// The load-vector entry of degree of freedom d of the model. A 2-D model has three degrees of
// freedom (vertical force, horizontal force, moment about z); the cap analysis takes them in
// entries 1, 2 and 6 of the load vector.
int dof_slot(const Model& m, int d) { return m.NDIM == 2 && d == 3 ? 6 : d; }

// The components of the model's degrees of freedom in entries 1..ndof, as the estimation
// tables and the stiffness at the origin take them.
Vec6 by_dof(const Model& m, const Vec6& v) {
  if (m.NDIM != 2) return v;
  Vec6 r;
  for (int d = 1; d <= 6; ++d) r(d) = d <= 3 ? v(dof_slot(m, d)) : 0.0;
  return r;
}

// A code or switch of the estimation values made whole. A value beyond any code is held to
// +-1e6 first, so that a huge number is refused as an unknown code instead of overflowing.
int code_of(double v) {
  return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6));
}

// The target degree of freedom of the estimation values: 1 to 6 in 3-D; in 2-D 1 and 2 are
// the two displacements and both 3 and 6 the rotation about z (degree 3). 0 when the value
// names no degree of freedom of the model.
int target_dof(const Model& m, double v) {
  const int d = code_of(v);
  if (m.NDIM != 2) return d >= 1 && d <= 6 ? d : 0;
  if (d == 6) return 3;
  return d >= 1 && d <= 3 ? d : 0;
}

// Position of the target value of degree of freedom d among the estimation values (after the
// NL levels): the six targets follow in the order X, Y, Z, rotation X, Y, Z; the 2-D
// rotation takes the target of the rotation about z.
int target_position(const Model& m, int NL, int d) { return NL + 2 + dof_slot(m, d); }

void stiffness_line(TextFile& f, int lead, const char* what, int n, int w, double factor) {
  f.X(lead).A("STIFFNESS ESTIMATION, ").A(what).I(n, w).A(" FACTOR : ").F(factor, 12, 5).nl();
}

}  // namespace

void CASEPOINTS(Model& m, int c, int& status, Vec6& FVLAST, Vec6& DVLAST, Vec6& PTLOAD,
                Vec6& PTDISP, Arr1<double, 3>& PTXYZ, Arr1<int, 6>& PTCOND, CapAnalysis analyse) {
  PointDef pt{PTLOAD, PTDISP, PTXYZ, PTCOND};
  const int opt = m.ISTFOP;
  const int ndof = m.NDIM == 2 ? 3 : 6;
  const int NV = std::min(std::max(m.CASINT(c, 17), 0), MAXNV);
  const int NL = NV > 12 ? NV - 12 : NV;
  m.NVSTF = NV;
  m.MODSTF = 0;
  m.IESTON = 0;
  if (opt > 0) {
    // Slots the case does not give read as zero, never as an earlier case's values.
    for (int i = 1; i <= MAXNV; ++i) m.STFLEV(i) = i <= NV ? m.STFDAT(c, i) : 0.0;
  }
  m.NPSTF = opt <= 0 ? 1 : (opt <= 10 ? ndof + 1 : NL + 1);

  Vec6 R, P0, P;
  for (int i = 1; i <= 6; ++i) R(i) = P0(i) = P(i) = 0.0;
  int mode = 0, iaxial = 0, maxit = 1;
  if (opt >= 1) {
    case_load(m, c, R, pt, false);
    CLRLOAD(m);
    P0 = R;
  }
  if (opt >= 1 && opt <= 10) {
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) f->nl().nl().X(5).A("* PILE CAP FLEXIBILITY ESTIMATION *").nl();
    for (TextFile* f : {&m.PLOTDATA, &m.RUNLOG}) f->X(5).A("* PILE CAP FLEXIBILITY ESTIMATION *").nl();
    m.RUNLOG.flush();
    // Started afresh for every flexibility estimation, so its tables read its own records.
    m.ESTREC1.open_write(m.fname(R_ESTREC1));
  } else if (opt >= 11) {
    mode = code_of(m.STFLEV(NL + 1));
    iaxial = m.STFLEV(NL + 11) > 0.0 ? 1 : 0;
    const int dof = target_dof(m, m.STFLEV(NL + 2));
    if (mode != 0 && mode != 1)
      return (void)refuse(m, c, "STIFFNESS ESTIMATION MODE " + std::to_string(mode) +
                                    " IS NEITHER 0 (LOAD LEVELS) NOR 1 (TARGET DEFLECTION)", status);
    if (mode == 1 && dof == 0)
      return (void)refuse(m, c, "TARGET DEGREE OF FREEDOM " +
                                    std::to_string(code_of(m.STFLEV(NL + 2))) +
                                    (m.NDIM == 2 ? " IS NOT 1, 2, 3 OR 6" : " IS NOT 1 TO 6"),
                          status);
    if (mode == 1) {
      // The input check refuses a limit below 2; the value is bounded before it is made whole.
      const double limit = m.STFLEV(NL + 10);
      if (limit >= MAXTGTITER + 1.0) {
        warn(m, "TARGET ITERATIONS LIMITED TO " + std::to_string(MAXTGTITER) + " PER POINT", "");
        maxit = MAXTGTITER;
      } else {
        maxit = limit >= 1.0 ? static_cast<int>(limit) : 1;
      }
    }
    m.STIFTRACE.X(5).A("LOAD CASE=").I(c, 5).X(5).A("NPOINTS=").I(m.NPSTF - 1, 5).nl();
  }

  int rec2open = 0;
  auto close_on_error = [&]() {
    if (rec2open != 0) m.ESTREC2.close();
    rec2open = 0;
    m.KMATLOG.close();
  };
  for (int p = 1; p <= m.NPSTF; ++p) {
    m.IPSTF = p;
    m.ILINPASS = 0;
    const bool last = p == m.NPSTF;
    const bool level = opt >= 11 && !last;
    int steps = 1;
    double f = 0.0;
    if (opt <= 10 && last) {
      if (m.NPSTF > 1) CAPSTFOUT(m, m.CASINT(c, 10), m.CASINT(c, 11), NV, ndof, 6, m.STFLEV);
      m.MODSTF = 0;
      case_load(m, c, R, pt, true);
      P0 = R;
      m.NHIST = 0;
    } else if (opt <= 10) {
      m.MODSTF = 0;
      CLRLOAD(m);
      steps = NV;
      m.MODSTF = 2;
      int skip = 0;
      CAPDOFHD(m, 2, p, m.NDIM, steps, ndof, by_dof(m, P0), skip);
      if (skip == 1) continue;
      m.ESTREC2.open_write(m.fname(R_ESTREC2));
      rec2open = 1;
      m.NHIST = 0;
    } else {
      m.MODSTF = 0;
      case_load(m, c, R, pt, true);
      if (last) {
        m.IESTON = 0;
        P0 = R;
        m.RUNLOG.nl().X(5).A("ANALYSIS DUE TO TOTAL LOAD").nl();
        m.RUNLOG.flush();
        m.CASELOG.X(6).A("ANALYSIS DUE TO TOTAL LOAD").nl();
      } else {
        if (p == 1) {
          m.IESTON = 0;
          CAPSTFHEAD(m, mode);
        }
        m.IESTON = 1;
        if (mode == 1) {
          steps = maxit;
          m.TGTTOL = m.STFLEV(NL + 9);
        } else {
          m.TGTTOL = 1.0;
        }
        if (p > 1) {
          m.DHIST(1) = m.DLAST;
          m.FHIST(1) = m.FLAST;
          m.NHIST = 1;
        } else {
          m.NHIST = 0;
        }
        // Without a valid target degree of freedom a load-level point has no target.
        m.IDOFT = target_dof(m, m.STFLEV(NL + 2));
        m.ISCALE1 = mode == 1 ? code_of(m.STFLEV(NL + 12)) : 0;
        f = m.STFLEV(p);
        m.FACNXT = f;
        m.DTARG = m.IDOFT > 0 ? m.STFLEV(target_position(m, NL, m.IDOFT)) * f : 0.0;
        P0 = R;
        if (m.ISCALE1 == 0) {
          for (int i = 1; i <= ndof; ++i) P0(dof_slot(m, i)) = f * R(dof_slot(m, i));
        } else if (m.IDOFT > 0) {
          P0(dof_slot(m, m.IDOFT)) = f * R(dof_slot(m, m.IDOFT));
        }
        m.RUNLOG.nl().X(5).A("STIFFNESS ESTIMATION, ").A("POINT : ").I(p, 4).A("/").I(m.NPSTF - 1, 4);
        m.RUNLOG.A(" FACTOR : ").F(f, 12, 5).nl();
        m.RUNLOG.flush();
        m.CASELOG.X(6).A("STIFFNESS ESTIMATION, ").A("POINT : ").I(p, 4).A("/").I(m.NPSTF - 1, 4);
        m.CASELOG.A(" FACTOR : ").F(f, 12, 5).nl();
        m.REPORT.nl().X(4).A("   N:").I(p, 5).A("  FACTOR :").F(f, 10, 4).nl();
      }
    }

    for (int s = 1; s <= steps; ++s) {
      m.ISTEP = s;
      if (m.MODSTF == 2) {
        for (int i = 1; i <= 6; ++i) P(i) = 0.0;
        P(dof_slot(m, p)) = m.STFLEV(s) * P0(dof_slot(m, p));
        m.RUNLOG.X(5).A("DOF : ").I(p, 5).A(" POINT : ").I(s, 5).nl();
        m.RUNLOG.flush();
        m.CASELOG.X(6).A("DOF : ").I(p, 5).A(" POINT : ").I(s, 5).nl();
      } else if (!level) {
        P = P0;
        if (opt >= 1 && opt <= 10 && p > 1) {
          m.RUNLOG.nl().X(5).A("ANALYSIS DUE TO TOTAL LOAD").nl();
          m.RUNLOG.flush();
          m.SOLVTRACE.X(5).A("ANALYSIS DUE TO TOTAL LOAD").nl();
          m.SOLVTRACE.flush();
        }
        if (opt <= 10) m.CASELOG.X(6).A("ANALYSIS DUE TO TOTAL LOAD").nl();
      } else if (mode == 0) {
        P = P0;
        stiffness_line(m.CASELOG, 6, "ITER : ", m.NHIST, 5, m.FACNXT);
      } else {
        if (m.NHIST == 1) {
          m.FACNXT = 1.0;
          P = P0;
        } else {
          m.FACNXT = 1.0;
          if (!TGTFACT(m)) {
            warn(m, "TARGET DEFLECTION DOES NOT CHANGE WITH THE LOAD FACTOR,",
                 "NO STIFFNESS FOR POINT " + std::to_string(p));
            m.ICONV = -1;
            break;
          }
          m.ISCALE1 = code_of(m.STFLEV(NL + 12));
          P = P0;
          if (m.ISCALE1 == 0) {
            for (int i = 1; i <= ndof; ++i) P(dof_slot(m, i)) = m.FACNXT * P0(dof_slot(m, i));
          } else {
            P(dof_slot(m, m.IDOFT)) = m.FACNXT * P0(dof_slot(m, m.IDOFT));
          }
        }
        m.RUNLOG.nl();
        stiffness_line(m.RUNLOG, 5, "ITER : ", m.NHIST, 5, m.FACNXT);
        m.RUNLOG.nl().X(5).A("LOAD : ");
        for (int i = 1; i <= 6; ++i) m.RUNLOG.E(P(i), 13, 5);
        m.RUNLOG.nl();
        m.RUNLOG.flush();
        stiffness_line(m.SOLVTRACE, 5, "ITER : ", m.NHIST, 5, m.FACNXT);
        m.SOLVTRACE.flush();
        stiffness_line(m.CASELOG, 6, "ITER : ", m.NHIST, 5, m.FACNXT);
      }
      if (level) {
        // A target point always ends on an analysis that completes its pile states, also
        // when only one iteration is allowed.
        if (steps > 1 && s < steps) m.ICONV = 2;
        else if (mode == 1) m.ICONV = 1;
        else m.ICONV = 3;
      }
      m.STATEFILE.open_write(m.fname(R_STATEFILE));
      m.STATEFILE.A("LOAD CASE : ").I(c, 5).nl();
      status = 0;
      Vec6 loads = P;
      analyse(m, 0, status, FVLAST, DVLAST, loads, PTLOAD, PTDISP, PTXYZ, PTCOND);
      m.STATEFILE.close();
      if (status != 0) {
        close_on_error();
        return;
      }
      if (level) {
        if (m.ICONV <= 0) break;
        if (m.NHIST == 0) {
          m.DLAST = m.DCOMP;
          m.FLAST = m.FACNXT;
        }
        ++m.NHIST;
        m.DHIST(m.NHIST) = m.DCOMP;
        m.FHIST(m.NHIST) = m.FACNXT;
      }
    }
    CAPCURVES(m, m.MODSTF, m.IPSTF, steps, m.NDIM, ndof, rec2open);
    if (!level) continue;
    if (m.ICONV >= 0) {
      std::string why;
      if (!RDPILEST(m, why)) {
        warn(m, "NO PILE STATES FOR POINT " + std::to_string(p) + ",", why);
        m.ICONV = -1;
      }
    }
    if (m.ICONV < 0) {
      m.PLOTDATA.X(4).A("   -1").A("   N:").I(p, 5).A("  FACTOR :").F(f, 10, 4).nl();
      continue;
    }
    m.STIFTRACE.X(5).A("POINT=").I(p, 5).nl();
    Mat6 K;
    CAPTSTF(m, status, iaxial, NL, p, f, by_dof(m, FVLAST), by_dof(m, DVLAST), K);
    if (status != 0) {  // an internal check failed on a row: the run's error
      close_on_error();
      return;
    }
  }
  m.MODSTF = 0;
  m.IESTON = 0;
}

}  // namespace torva
