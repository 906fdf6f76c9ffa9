#include "stiffness/estrec.h"

#include "run/freeread.h"

namespace torva {

void WRTESTREC(TextFile& f, int n, const double* v, int count) {
  f.X(5).I(n, 5).X(2);
  for (int i = 0; i < count; ++i) f.PG(v[i], 18, 8).X(3);
  f.nl();
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
