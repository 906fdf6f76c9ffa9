#include "io/writers.h"

namespace torva {

void WRTREAL(TextFile& f, int w, int n, double x) { put_real(f.cur, x, w, n); }
void WRTINT(TextFile& f, int w, long long v) { put_I(f.cur, v, w); }
void WRTBLANK(TextFile& f, int n) { put_X(f.cur, n); }

static std::string_view first(std::string_view s, std::size_t n) {
  return s.substr(0, std::min(n, s.size()));
}
static void fixed_text(TextFile& f, std::string_view s, std::size_t n) {
  std::string_view t = first(s, n);
  f.cur.append(t);
  f.cur.append(n - t.size(), ' ');
}

void WRTA10(TextFile& f, std::string_view t) {
  f.cur.push_back(' ');
  fixed_text(f, t, 10);
  f.cur.push_back(' ');
}
void WRTA6(TextFile& f, std::string_view t) {
  f.cur.push_back(' ');
  fixed_text(f, t, 6);
  f.cur.push_back(' ');
}
void WRTA1(TextFile& f, std::string_view t) { fixed_text(f, t, 1); }
void WRTA2(TextFile& f, std::string_view t) { fixed_text(f, t, 2); }
void WRTA3(TextFile& f, std::string_view t) { fixed_text(f, t, 3); }
void WRTTRIM(TextFile& f, std::string_view t) {
  t = first(t, 256);
  std::size_t n = t.size();
  while (n > 0 && (t[n - 1] == ' ' || t[n - 1] == '\0')) --n;
  f.cur.append(t.substr(0, n));
}
void ENDLINE(TextFile& f) {
  f.cur.push_back(' ');
  f.nl();
}

void BUFREAL(std::string& buf, int w, int n, double x, int& col) {
  std::string field;
  put_real(field, x, w, n);
  const std::size_t at = std::size_t(col - 1);
  if (buf.size() < at + field.size()) buf.resize(at + field.size(), ' ');
  buf.replace(at, field.size(), field);
  col += w;
}

void BUFBLANK(std::string& buf, int n, int& col) {
  if (n <= 0) return;
  const std::size_t at = std::size_t(col - 1);
  if (buf.size() < at + std::size_t(n)) buf.resize(at + std::size_t(n), ' ');
  buf.replace(at, std::size_t(n), std::size_t(n), ' ');
  col += n;
}

}  // namespace torva
