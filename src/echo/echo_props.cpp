// Table E: pile properties, their sections, the section properties the pile analyses
// read (PSECT) and the moment-curvature set numbers of the nonlinear cross sections.
#include <cmath>
#include "echo/echo.h"
#include "input/inputcheck.h"
#include "input/units.h"
#include "io/writers.h"

namespace torva {

namespace {

constexpr double kIMin = double(1.0e-10f);      // smallest moment of inertia taken as given
constexpr double kSolidCircle = double(0.0491f);  // I of a solid circle over D^4

// A moment of inertia below the threshold is replaced by that of a solid circle of the
// section's diameter.
double inertia(double I, double D) { return I >= kIMin ? I : kSolidCircle * std::pow(D, 4.0); }

// Generated moment-curvature sets follow the user sets: one per nonlinear cross section
// (that is not given by the user's own EI) in 2-D, two in 3-D (z first, then y).
// The input checks hold the total within the moment-curvature table.
void number_sets(Model& m) {
  int n = m.NMPHI > 0 ? m.NMPSETI : 0;
  for (int k = 1; k <= m.NSECIN; ++k) {
    if (!takes_generated_mphi(m, k)) continue;
    TORVA_ASSERT(n + (m.NDIM == 3 ? 2 : 1) <= MAXMPSET, "moment-curvature sets beyond the table");
    m.NLINT(k, 28) = ++n;
    if (m.NDIM == 3) m.NLINT(k, 29) = ++n;
  }
}

void section_properties(Model& m, int t, int s) {
  const int k = m.ISECT(t, s);
  auto sp = [&](int c) { return m.SPROPI(k, c); };
  m.SEMOD(t, s) = sp(17);
  m.SEMODB(t, s) = sp(35);
  if (m.INONLIN(k) != 0) {
    m.ISEIZ(t, s) = m.NLINT(k, 28);
    m.ISEIY(t, s) = m.NLINT(k, 29);
  }
  m.ITAPER(t, s) = m.ITAPERI(k);
  // Top values in columns 1..18, bottom values 18 further.
  m.SDIAM(t, s) = sp(1);
  m.SAREA(t, s) = sp(10);
  m.SIZ(t, s) = inertia(sp(11), sp(1));
  m.SIY(t, s) = inertia(sp(12), sp(1));
  m.SGJ(t, s) = sp(14);
  m.SMN(t, s) = sp(15);
  m.SVN(t, s) = sp(16);
  m.SEIZ(t, s) = m.SIZ(t, s) * m.SEMOD(t, s);
  m.SEIY(t, s) = m.SIY(t, s) * m.SEMOD(t, s);
  m.SDIAMB(t, s) = sp(19);
  m.SAREAB(t, s) = sp(28);
  m.SIZB(t, s) = inertia(sp(29), sp(19));
  m.SIYB(t, s) = inertia(sp(30), sp(19));
  m.SGJB(t, s) = sp(32);
  m.SMNB(t, s) = sp(33);
  m.SVNB(t, s) = sp(34);
  m.SEIZB(t, s) = m.SIZB(t, s) * m.SEMODB(t, s);
  m.SEIYB(t, s) = m.SIYB(t, s) * m.SEMODB(t, s);
}

void print_elastic_row(Model& m, int k, int first_col, const char* mark) {
  TextFile& f = m.ECHO;
  auto sp = [&](int c) { return m.SPROPI(k, c + first_col - 1); };
  const bool two_d = m.NDIM == 2;
  const bool tapered = m.ITAPERI(k) > 0;
  if (mark[0] == 'T') {
    WRTBLANK(f, two_d ? 5 : 2);
    WRTINT(f, 5, k);
    WRTBLANK(f, 1);
  } else {
    WRTBLANK(f, two_d ? 11 : 8);
  }
  if (tapered) {
    WRTBLANK(f, 1);
    f.A(mark);
    if (two_d) WRTBLANK(f, 1);
  } else {
    WRTBLANK(f, two_d ? 5 : 4);
  }
  const int w = two_d ? 14 : 12, d = two_d ? 5 : 4;
  WRTREAL(f, w, d, TOMM(m, sp(1)));
  WRTREAL(f, w, d, TOMM2(m, sp(10)));
  WRTREAL(f, w, d, TOMM4(m, sp(11)));
  if (!two_d) {
    WRTREAL(f, w, d, TOMM4(m, sp(12)));
    WRTBLANK(f, 1);
    WRTREAL(f, w, d, sp(14));
  }
  WRTREAL(f, w, d, sp(15));
  WRTREAL(f, w, d, sp(16));
  ENDLINE(f);
}

void print_elastic_table(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().X(5).A("* PILE CROSS SECTIONS PROPERTIES *").nl();
  bool any = false;
  for (int k = 1; k <= m.NSECIN; ++k) any = any || m.INONLIN(k) == 0;
  if (!any) return;
  f.nl().X(5).A("         ELASTIC SECTIONS         ").nl();
  const auto sml2 = m.USML2.view(), pow = m.UPOW.view(), sq = m.USQ.view(),
             four = m.UFOUR.view(), for3 = m.UFOR3.view(), dash = m.UDASH.view(),
             len2 = m.ULEN2.view();
  if (m.NDIM == 2) {
    f.nl().X(5).A("  SECT").X(11).A("DIAM,").A(sml2, 2).X(5).A("AREA,").A(sml2, 2).A(pow, 2);
    f.A(sq, 1).X(4).A("  I,").A(sml2, 2).A(pow, 2).A(four, 1).X(4).A(" Mn,").A(for3, 3);
    f.A(dash, 1).A(len2, 2).X(5).A(" Vn,").A(for3, 3).nl();
  } else {
    f.nl().X(2).A("  SECT").X(9).A("DIAM,").A(sml2, 2).X(3).A("AREA,").A(sml2, 2).A(pow, 2);
    f.A(sq, 1).X(2).A(" Iz,").A(sml2, 2).A(pow, 2).A(four, 1).X(3).A(" Iy,").A(sml2, 2);
    f.A(pow, 2).A(four, 1).X(2).A(" GJ,").A(for3, 3).A(dash, 1).A(len2, 2).A(pow, 2).A(sq, 1);
    f.X(2).A(" Mn,").A(for3, 3).A(dash, 1).A(len2, 2).X(3).A(" Vn,").A(for3, 3).nl();
  }
  for (int k = 1; k <= m.NSECIN; ++k) {
    if (m.INONLIN(k) != 0) continue;
    print_elastic_row(m, k, 1, "TOP");
    if (m.ITAPERI(k) > 0) print_elastic_row(m, k, 19, "BOT");
  }
}

}  // namespace

// The properties and sections of the analysis, with the section properties the pile
// analyses read. The input checks have refused a section that names no cross section.
void BUILDPROPS(Model& m) {
  for (int t = 1; t <= m.NPROPIN; ++t) {
    m.NSECT(t) = m.NSECTI(t);
    m.NSEG(t) = m.NSEGI(t);
    m.PILEKIND(t) = m.PKINDI(t);
    m.PILELEN(t) = m.PLENI(t);
    // Shared by every row of the property; set here, before the row loops read it.
    m.SEGLEN(t) = m.NSEG(t) > 0 ? m.PILELEN(t) / m.NSEG(t) : 0.0;
    for (int s = 1; s <= m.NSECT(t); ++s) {
      m.ISECT(t, s) = m.ISECI(t, s);
      m.SFROM(t, s) = m.SFROMI(t, s);
      m.STO(t, s) = m.STOI(t, s);
      m.SEMOD(t, s) = m.SEMODB(t, s) = 0.0;
      m.ISEIZ(t, s) = m.ISEIY(t, s) = 0;
    }
  }
  number_sets(m);
  for (int t = 1; t <= m.NPROPIN; ++t)
    for (int s = 1; s <= m.NSECT(t); ++s) section_properties(m, t, s);
}

void ECHOPROPS(Model& m) {
  TextFile& f = m.ECHO;
  f.nl().nl().nl().X(5).A("* TABLE E *   PILE GEOMETRY AND PROPERTIES ").nl();
  f.X(5).A("              PILE TYPE = 1 - DRIVEN PILE").nl();
  f.X(5).A("                        = 2 - DRILLED SHAFT").nl();
  f.nl().X(7).A("PROP  ").A(" SECTS ").A("  INC  ").A("   PILE TYPE").X(6).A("LENGTH,");
  f.A(m.UDEP3.view(), 3).X(4).nl();
  for (int t = 1; t <= m.NPROPIN; ++t) {
    WRTBLANK(f, 5);
    WRTINT(f, 5, t);
    WRTINT(f, 7, m.NSECT(t));
    WRTINT(f, 8, m.NSEG(t));
    WRTINT(f, 11, m.PILEKIND(t));
    WRTBLANK(f, 3);
    WRTREAL(f, 16, 4, TOFT(m, m.PILELEN(t)));
    ENDLINE(f);
  }
  f.nl().X(5).A("* PILE SECTIONS *").nl();
  const auto dep2 = m.UDEP2.view();
  f.nl().X(7).A("PROP    ").A("SECT").X(6).A("FROM,").A(dep2, 2).X(9).A("TO,").A(dep2, 2).X(4);
  f.A("CROSS SECT").X(2).nl();
  for (int t = 1; t <= m.NPROPIN; ++t) {
    for (int s = 1; s <= m.NSECT(t); ++s) {
      WRTBLANK(f, 5);
      WRTINT(f, 5, t);
      WRTINT(f, 8, s);
      WRTBLANK(f, 1);
      WRTREAL(f, 14, 5, TOFT(m, m.SFROM(t, s)));
      WRTREAL(f, 15, 5, TOFT(m, m.STO(t, s)));
      WRTINT(f, 8, m.ISECT(t, s));
      ENDLINE(f);
    }
  }
  ECHOSECTIONS(m);
  print_elastic_table(m);
}

}  // namespace torva
