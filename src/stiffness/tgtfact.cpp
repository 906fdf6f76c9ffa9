#include "stiffness/tgtfact.h"

#include <cmath>

#include "io/textfile.h"

namespace torva {

bool TGTFACT(Model& m) {
  const int n = m.NHIST;
  if (n <= 0) {
    m.FACNXT = 0.0;
    return true;
  }
  if (n == 1) {
    const double d1 = m.DHIST(1), f1 = m.FHIST(1);
    m.FACNXT = std::fabs(d1) <= 1.0e-4 ? 1.0 : m.DTARG * f1 / d1;
    return true;
  }
  // Keep the history in ascending order of load factor: the newest pair goes in front of
  // the first older pair with a larger factor.
  for (int i = 1; i <= n - 1; ++i) {
    if (m.FHIST(i) > m.FHIST(n)) {
      const double dn = m.DHIST(n), fn = m.FHIST(n);
      for (int k = n; k > i; --k) {
        m.DHIST(k) = m.DHIST(k - 1);
        m.FHIST(k) = m.FHIST(k - 1);
      }
      m.DHIST(i) = dn;
      m.FHIST(i) = fn;
      break;
    }
  }
  int a = 1, b = 2;
  if (m.DHIST(1) >= m.DTARG) {
    a = 1;
    b = 2;
  } else if (m.DTARG >= m.DHIST(n)) {
    a = n - 1;
    b = n;
  } else {
    for (int c = 2; c <= n; ++c)
      if (m.DHIST(c) >= m.DTARG) {
        a = c - 1;
        b = c;
        break;
      }
  }
  const double dd = m.DHIST(b) - m.DHIST(a);
  if (dd == 0.0) return false;
  m.FACNXT = m.FHIST(a) + (m.DTARG - m.DHIST(a)) * (m.FHIST(b) - m.FHIST(a)) / dd;
  return true;
}

bool target_check(Model& m, double dcomp) {
  m.DCOMP = dcomp;
  double err;
  if (m.DTARG != 0.0) err = std::fabs((m.DCOMP - m.DTARG) / m.DTARG);
  else err = m.DCOMP == 0.0 ? 0.0 : HUGE_VAL;
  if (m.ICONV == 1 || m.ICONV == 2) {
    m.RUNLOG.nl().X(5).A("STIFFNESS ESTIMATION, ");
    if (m.ICONV == 1) m.RUNLOG.A(" MAX. ITER. REACHED, ");
    m.RUNLOG.A(" COMPUTED DEF.: ").F(m.DCOMP, 11, 4).A(" TARGET DEF.: ").F(m.DTARG, 11, 4);
    m.RUNLOG.A(" ERROR(%): ").F(100.0 * err, 11, 4).nl();
  }
  if (m.ICONV == 2) {
    if (err > m.TGTTOL / 100.0) {
      m.CASELOG.line("    10 ANALYSIS COMPLETED");
      return false;
    }
    m.ICONV = 0;
  } else if (m.ICONV == 3) {
    m.ICONV = 0;
  }
  return true;
}

}  // namespace torva
