#include "echo/echo_mphi.h"

#include <algorithm>
#include <string>

#include "input/inputcheck.h"
#include "input/units.h"
#include "io/writers.h"
#include "model/messages.h"

namespace torva {

namespace {

void refuse(Model& m, int& status, const std::string& what) {
  emit(m, TO_REPORT | TO_RUNLOG, "");
  emit(m, TO_REPORT | TO_RUNLOG, "     **** FATAL ERROR ****");
  emit(m, TO_REPORT | TO_RUNLOG, "     " + what);
  status = ST_INPUTCHECK;
}

// Copies the curves of one entry of the section curves into set s.
bool copy_set(Model& m, int s, const MPHIGEN& src, int i, int& status) {
  if (s < 1 || s > MAXMPSET || src.NCRVG(i) > MAXMPCRV) {
    refuse(m, status, "MOMENT-CURVATURE SET " + std::to_string(s) + " IS BEYOND THE TABLE OF " +
                          std::to_string(MAXMPSET) + " SETS");
    return false;
  }
  m.NCRVMP(s) = std::max(0, src.NCRVG(i));
  for (int c = 1; c <= m.NCRVMP(s); ++c) {
    m.AXLMP(s, c) = src.AXLG(i, c);
    const int np = src.NPTG(i, c);
    if (np > MAXMPPT) {
      refuse(m, status, "MOMENT-CURVATURE CURVE WITH MORE THAN " + std::to_string(MAXMPPT) +
                            " POINTS");
      return false;
    }
    m.NPTMP(s, c) = std::max(0, np);
    for (int p = 1; p <= m.NPTMP(s, c); ++p) {
      m.MOMMP(s, c, p) = src.MOMG(i, c, p);
      m.PHIMP(s, c, p) = src.PHIG(i, c, p);
    }
  }
  return true;
}

// A nonlinear section whose set (or, in 3-D, one of its two sets) received no curves
// bends with its elastic stiffness: the run goes on, with a warning that says so.
void warn_sections_without_curves(Model& m) {
  if (m.NMPHI < 1) return;  // no moment-curvature stiffness in this run
  auto empty = [&](int s) { return s >= 1 && s <= MAXMPSET && m.NCRVMP(s) <= 0; };
  for (int k = 1; k <= m.NSECIN; ++k) {
    if (!takes_generated_mphi(m, k)) continue;
    const bool first = empty(m.NLINT(k, 28)), second = m.NDIM == 3 && empty(m.NLINT(k, 29));
    if (!first && !second) continue;
    const std::string name(m.SNAME(k).trimmed());
    std::string what = "NO MOMENT-CURVATURE CURVES ARE GIVEN";
    if (m.NDIM == 3 && !(first && second)) what += first ? " FOR EIz" : " FOR EIy";
    const unsigned to = TO_REPORT | TO_RUNLOG;
    emit(m, to, "");
    emit(m, to, "                             **** WARNING ****");
    emit(m, to, "     NONLINEAR CROSS SECTION " + std::to_string(k) +
                    (name.empty() ? "" : " (" + name + ")") + ":");
    emit(m, to, "     " + what + "; ITS ELASTIC BENDING STIFFNESS IS USED");
  }
}

void print_user_sets(Model& m) {
  TextFile& E = m.ECHO;
  E.nl().nl().X(5).A("  USER DEFINED MOMENT CURVATURE").nl();
  E.nl().X(7).A("NUM OF SETS :").I(m.NMPUSR, 3).nl();
  for (int s = 1; s <= m.NMPUSR; ++s) {
    E.nl().nl().X(7).A("CURVE SET").I(s, 3).X(10).A("NUM OF CURVES").I(m.NCRVMP(s), 3).nl();
    E.nl();
    for (int c = 1; c <= m.NCRVMP(s); ++c) {
      E.nl().X(8).A("CURVE").I(c, 3).X(6).A("        AXIAL LOAD ").X(3);
      E.E(m.AXLMP(s, c), 10, 3).A(m.UFOR4.view()).nl().nl();
      E.X(12).A("POINT").X(14).A("MOMENT").X(13).A("CURVATURE").nl();
      E.X(12).A("     ").X(13).A(m.UFOR4.view()).A("-").A(m.ULEN2.view()).X(13);
      E.A("RADIAN/").A(m.ULEN2.view()).nl();
      for (int p = 1; p <= m.NPTMP(s, c); ++p) {
        E.X(10).I(p, 5).X(11);
        WRTREAL(E, 12, 5, m.MOMMP(s, c, p));
        E.X(9);
        WRTREAL(E, 12, 5, m.PHIMP(s, c, p));
        ENDLINE(E);
      }
    }
  }
}

}  // namespace

void ECHONLSECT(Model& m) {
  bool any = false;
  for (int k = 1; k <= m.NSECIN; ++k) any = any || m.INONLIN(k) != 0;
  if (!any) return;
  TextFile& E = m.ECHO;
  E.nl().X(5).A("         NONLINEAR SECTIONS       ").nl();
  const auto l2 = m.USML2.view(), pw = m.UPOW.view();
  if (m.NDIM == 3) {
    E.nl().X(2).A("  SECT").X(4).A("DIAM,").A(l2).X(2).A("AREA,").A(l2).A(pw).A(m.USQ.view());
    E.X(1).A(" Iz,").A(l2).A(pw).A(m.UFOUR.view()).X(2).A(" Iy,").A(l2).A(pw);
    E.A(m.UFOUR.view()).X(1).A(" GJ,").A(m.UFOR3.view()).A(m.UDASH.view()).A(m.ULEN2.view());
    E.A(pw).A(m.USQ.view()).X(2).A(" EIz IND ").A(" EIy IND ").X(1).A(" Mn,");
    E.A(m.UFOR3.view()).A(m.UDASH.view()).A(m.ULEN2.view()).X(3).A(" Vn,").A(m.UFOR3.view());
    E.nl();
  } else {
    E.nl().X(5).A("  SECT").X(11).A("DIAM,").A(l2).X(5).A("AREA,").A(l2).A(pw).A(m.USQ.view());
    E.X(4).A("  I,").A(l2).A(pw).A(m.UFOUR.view()).X(4).A(" EI INDEX ").X(4).A(" Mn,");
    E.A(m.UFOR3.view()).A(m.UDASH.view()).A(m.ULEN2.view()).X(5).A(" Vn,").A(m.UFOR3.view());
    E.nl();
  }
  for (int k = 1; k <= m.NSECIN; ++k) {
    if (m.INONLIN(k) == 0) continue;
    const bool user = m.NLINT(k, 1) == kUserEI;
    // The inertia of an axis shows only for a user-EI section without a set on that axis.
    auto inertia = [&](int col, int setcol) {
      return user && m.NLINT(k, setcol) == 0 ? TOMM4(m, m.SPROPI(k, col)) : 0.0;
    };
    auto index = [&](int setcol) { return user && m.NLINT(k, setcol) >= 1 ? m.NLINT(k, setcol) : 0; };
    const double D = TOMM(m, m.SPROPI(k, 1)), A = TOMM2(m, m.SPROPI(k, 10));
    if (m.NDIM == 3) {
      E.X(2).I(k, 5).X(1);
      for (double v : {D, A, inertia(11, 28), inertia(12, 29)}) WRTREAL(E, 11, 4, v);
      E.X(2);
      WRTREAL(E, 11, 4, m.SPROPI(k, 14));
      E.X(2).I(index(28), 5).X(4).I(index(29), 5).X(4);
      WRTREAL(E, 11, 4, m.SPROPI(k, 15));
      WRTREAL(E, 11, 4, m.SPROPI(k, 16));
    } else {
      E.X(5).I(k, 5).X(6);
      for (double v : {D, A, inertia(11, 28)}) WRTREAL(E, 14, 5, v);
      E.X(5).I(index(28), 5);
      WRTREAL(E, 14, 5, m.SPROPI(k, 15));
      WRTREAL(E, 14, 5, m.SPROPI(k, 16));
    }
    ENDLINE(E);
  }
}

void ECHOMPHI(Model& m, int& status) {
  TextFile& E = m.ECHO;
  m.NMPUSR = std::clamp(m.NMPSETI, 0, MAXMPSET);
  if (m.NMPHI >= 1) {
    E.nl().nl().nl().X(5).A("* TABLE J *   MOMENT CURVATURE SETS    ").nl();
    if (m.NMPUSR >= 1) {
      for (int s = 1; s <= m.NMPUSR; ++s) {
        m.NCRVMP(s) = std::clamp(m.NCRVMI(s), 0, MAXMPCRV);
        for (int c = 1; c <= m.NCRVMP(s); ++c) {
          m.AXLMP(s, c) = m.AXLI(s, c);
          m.NPTMP(s, c) = std::clamp(m.NPTMI(s, c), 0, MAXMPPT);
          for (int p = 1; p <= m.NPTMP(s, c); ++p) {
            m.MOMMP(s, c, p) = m.MOMI(s, c, p);
            m.PHIMP(s, c, p) = m.PHII(s, c, p);
          }
        }
      }
      print_user_sets(m);
    }
  }
  // Generated sets: entry i belongs to the cross section ISECG(i) and fills the set
  // numbers that section was given, whatever the order of the entries.
  bool copied = false;
  if (m.NSECIN >= 1) {
    const int nent = std::min(m.MPHIGEN1.NMPG, MAXMPG);
    for (int i = 1; i <= nent; ++i) {
      const int k = m.MPHIGEN1.ISECG(i);
      if (k < 1 || k > m.NSECIN || !takes_generated_mphi(m, k)) {
        // Entries of elastic or user-EI sections, or of no section, take no set; curves
        // there are not used.
        if (m.MPHIGEN1.NCRVG(i) > 0) {
          const std::string why =
              k < 1 || k > m.NSECIN ? "THERE IS NO SUCH CROSS SECTION"
              : m.INONLIN(k) == 0   ? "AN ELASTIC SECTION"
                                    : "A SECTION OF TYPE 10 (USER-DEFINED EI) TAKES ITS BENDING "
                                      "STIFFNESS FROM THE USER SETS IT NAMES";
          emit(m, TO_REPORT | TO_RUNLOG, "");
          emit(m, TO_REPORT | TO_RUNLOG, "                             **** WARNING ****");
          emit(m, TO_REPORT | TO_RUNLOG,
               "     MOMENT-CURVATURE CURVES OF CROSS SECTION " + std::to_string(k) +
                   " NOT USED: " + why);
        }
        continue;
      }
      if (!copy_set(m, m.NLINT(k, 28), m.MPHIGEN1, i, status)) return;
      if (m.NDIM == 3 && !copy_set(m, m.NLINT(k, 29), m.MPHIGEN2, i, status)) return;
      copied = true;
    }
  }
  warn_sections_without_curves(m);
  if (!copied) return;
  E.nl().nl().X(5).A("  INTERNALLY GENERATED MOMENT CURVATURE").nl().nl();
  std::string line;
  while (m.MPHILIST.read_line(line)) {
    WRTTRIM(E, line.size() > 256 ? std::string_view(line).substr(0, 256) : line);
    E.nl();
  }
}

}  // namespace torva
