#include "stiffness/estrec.h"

#include <cmath>

#include "run/freeread.h"

namespace torva {

void WRTESTREC(TextFile& f, int n, const double* v, int count) {
  f.X(5).I(n, 5).X(2);
  for (int i = 0; i < count; ++i) f.PG(v[i], 18, 8).X(3);
  f.nl();
}

void ESTRECPOINT(Model& m, const Vec6& loads, const Vec6& DV) {
  const double q = loads(m.IPSTF);
  double v[7] = {q, DV(1), DV(2), DV(3), DV(4), DV(5), DV(6)};
  WRTESTREC(m.ESTREC2, m.ISTEP, v, 7);
  double s[6];
  for (int j = 0; j < 6; ++j) s[j] = std::fabs(q) < 1.0e-14 ? DV(j + 1) : DV(j + 1) / q;
  WRTESTREC(m.ESTREC2, m.ISTEP, s, 6);
  WRTESTREC(m.ESTREC1, m.ISTEP, s, 6);
}

void ESTRECFAIL(Model& m) {
  const double zero[7] = {0, 0, 0, 0, 0, 0, 0};
  WRTESTREC(m.ESTREC2, -m.ISTEP, zero, 7);
  WRTESTREC(m.ESTREC2, -m.ISTEP, zero, 6);
  double e[6] = {0, 0, 0, 0, 0, 0};
  if (m.IPSTF >= 1 && m.IPSTF <= 6) e[m.IPSTF - 1] = 1.0;
  WRTESTREC(m.ESTREC1, m.ISTEP, e, 6);
}

bool EstrecReader::open(const std::string& path) { return f_.open_read(path); }

bool EstrecReader::next(int& n, double* v, int count) {
  std::string line;
  if (!f_.read_line(line)) return false;
  StringLines src(line);
  FreeReader r(src);
  r.rec().i(n, "N");
  for (int i = 0; i < count; ++i) {
    v[i] = 0.0;
    r.r(v[i], Fid("VALUE", i + 1));
  }
  return r.ok();
}

}  // namespace torva
