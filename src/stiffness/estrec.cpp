#include "stiffness/estrec.h"

#include <cmath>

#include "input/freeread.h"

namespace torva {

void WRTESTREC(TextFile& f, int n, const double* v, int count) {
  f.X(5).I(n, 5).X(2);
  for (int i = 0; i < count; ++i) f.PG(v[i], 18, 8).X(3);
  f.nl();
}

void ESTRECPOINT(Model& m, double q, const double* dv, int ndof) {
  double v[7] = {q, 0, 0, 0, 0, 0, 0};
  double s[6] = {0, 0, 0, 0, 0, 0};
  for (int j = 0; j < ndof && j < 6; ++j) {
    v[j + 1] = dv[j];
    s[j] = std::fabs(q) < 1.0e-14 ? dv[j] : dv[j] / q;
  }
  WRTESTREC(m.ESTREC2, m.ISTEP, v, ndof + 1);
  WRTESTREC(m.ESTREC2, m.ISTEP, s, ndof);
  WRTESTREC(m.ESTREC1, m.ISTEP, s, ndof);
}

void ESTRECFAIL(Model& m, int ndof) {
  const double zero[7] = {0, 0, 0, 0, 0, 0, 0};
  WRTESTREC(m.ESTREC2, -m.ISTEP, zero, ndof + 1);
  WRTESTREC(m.ESTREC2, -m.ISTEP, zero, ndof);
  double e[6] = {0, 0, 0, 0, 0, 0};
  if (m.IPSTF >= 1 && m.IPSTF <= ndof) e[m.IPSTF - 1] = 1.0;
  WRTESTREC(m.ESTREC1, m.ISTEP, e, ndof);
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
