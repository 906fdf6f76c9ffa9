#include "stiffness/capstfhead.h"

#include <cmath>

#include "io/writers.h"
#include "stiffness/estrec.h"

namespace torva {

void CAPSTFHEAD(Model& m, int mode) {
  for (TextFile* f : {&m.REPORT, &m.SUMMARY})
    f->nl().nl().X(5).A("* PILE CAP STIFFNESS ESTIMATION *").nl();
  m.PLOTDATA.X(5).A("* PILE CAP STIFFNESS ESTIMATION *").nl();
  m.RUNLOG.nl().X(5).A("* PILE CAP STIFFNESS ESTIMATION *").nl();
  m.RUNLOG.flush();
  for (TextFile* f : {&m.REPORT, &m.SUMMARY})
    f->X(5).A(mode == 0 ? "- BASED ON TOTAL APPLIED LOAD  " : "- BASED ON TARGET DEFLECTION   ").nl();
}

void CAPDOFHD(Model& m, int mode, int dof, int ndim, int npt, int ndof, const Vec6& force,
              int& skip) {
  (void)mode;
  skip = 0;
  static constexpr const char* kLong[7] = {"",
                                           "DOF   : 1 (FORCE X)",
                                           "DOF   : 2 (FORCE Y)",
                                           "DOF   : 3 (FORCE Z)",
                                           "DOF   : 4 (MOMENT X)",
                                           "DOF   : 5 (MOMENT Y)",
                                           "DOF   : 6 (MOMENT Z)"};
  static constexpr const char* kShort[7] = {"",
                                            "CAP FLEX., 1, FORCE X",
                                            "CAP FLEX., 2, FORCE Y",
                                            "CAP FLEX., 3, FORCE Z",
                                            "CAP FLEX., 4, MOMENT X",
                                            "CAP FLEX., 5, MOMENT Y",
                                            "CAP FLEX., 6, MOMENT Z"};
  if (dof < 1 || dof > 6) return;
  const bool moment2d = ndim == 2 && dof == 3;
  for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
    f->nl();
    f->X(5).A(moment2d ? "DOF   : 3 (MOMENT Z)" : kLong[dof]).nl();
  }
  m.PLOTDATA.X(5).A(moment2d ? "CAP FLEX., 3, MOMENT Z" : kShort[dof]).nl();
  if (!(std::fabs(force(dof)) < double(1.0e-12f))) return;
  for (TextFile* f : {&m.REPORT, &m.SUMMARY})
    f->nl().A("             DOF NOT CONSIDERED").A(" SINCE APPLIED FORCE AT CAP IS ZERO").nl();
  for (int k = 1; k <= npt; ++k) {
    m.CASELOG.X(6).A("DOF : ").I(dof, 5).A(" POINT : ").I(k, 5).nl();
    m.CASELOG.line("    5 ANALYSIS SKIPPPED APPLIED FORCE AT CAP IS ZERO");
  }
  double unit[6] = {0, 0, 0, 0, 0, 0};
  if (dof <= ndof) unit[dof - 1] = 1.0;
  for (int k = 1; k <= npt; ++k) {
    WRTESTREC(m.ESTREC1, k, unit, ndof);
    m.PLOTDATA.X(5).I(-k, 5).X(4);
    WRTREAL(m.PLOTDATA, 18, 8, 0.0);
    ENDLINE(m.PLOTDATA);
  }
  skip = 1;
}

}  // namespace torva
