#include "io/fmt.h"

#include <charconv>
#include <cmath>

namespace torva {

namespace {

void stars(std::string& line, int w) {
  if (w > 0) line.append(std::size_t(w), '*');
}

void right(std::string& line, std::string_view s, int w) {
  if (int(s.size()) > w) {
    stars(line, w);
    return;
  }
  line.append(std::size_t(w) - s.size(), ' ');
  line.append(s);
}

// True when a fixed-form text has no non-zero digit (so a sign would read as "-0.00").
bool all_zero_digits(std::string_view s) {
  for (char c : s)
    if (c >= '1' && c <= '9') return false;
  return true;
}

// Digits of |v| rounded to `sig` significant digits and the decimal exponent e such that
// |v| = 0.d1d2...dsig x 10^e. `digits` receives exactly `sig` characters.
void sig_digits(double v, int sig, char* digits, int& e) {
  char buf[128];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v),
                               std::chars_format::scientific, sig - 1);
  // buf is "d.ddde+XX" (or "de+XX" when sig == 1)
  const char* p = buf;
  int k = 0;
  for (; p < r.ptr && *p != 'e'; ++p)
    if (*p != '.') digits[k++] = *p;
  int x = 0;
  const bool neg = p + 1 < r.ptr && p[1] == '-';
  for (const char* q = p + 2; q < r.ptr; ++q) x = 10 * x + (*q - '0');
  e = (neg ? -x : x) + 1;
}

// Appends the exponent field of Ew.d: "E+xx" for |ex| <= 99, otherwise "+xxx".
char* put_exponent(char* o, int ex) {
  const char sign = ex < 0 ? '-' : '+';
  const int ax = ex < 0 ? -ex : ex;
  if (ax <= 99) {
    *o++ = 'E';
    *o++ = sign;
  } else {
    *o++ = sign;
    *o++ = char('0' + ax / 100);
  }
  *o++ = char('0' + ax / 10 % 10);
  *o++ = char('0' + ax % 10);
  return o;
}

bool put_exp(std::string& line, double v, int w, int d, int scale) {
  // Mantissa digits: scale 0 gives 0.d1..dd, scale 1 gives d1.d2..d(d+1).
  const int sig = scale > 0 ? d + 1 : (d > 0 ? d : 1);
  char digits[128] = {};
  int e = 0;
  if (v == 0.0) {
    for (int i = 0; i < sig; ++i) digits[i] = '0';
    e = scale > 0 ? 1 : 0;
  } else {
    sig_digits(v, sig, digits, e);
  }
  char buf[160];
  char* o = buf;
  if (v < 0.0) *o++ = '-';
  char* const mant = o;
  int ex;
  if (scale > 0) {
    *o++ = digits[0];
    *o++ = '.';
    for (int i = 1; i <= d; ++i) *o++ = digits[i];
    ex = v == 0.0 ? 0 : e - 1;
  } else {
    *o++ = '0';
    *o++ = '.';
    for (int i = 0; i < d; ++i) *o++ = digits[i];
    ex = e;
  }
  o = put_exponent(o, ex);
  std::string_view s(buf, std::size_t(o - buf));
  if (int(s.size()) > w && scale == 0) {
    // The optional leading zero goes first when the field is too narrow: the sign, if
    // any, moves over it.
    if (mant != buf) mant[0] = '-';
    s.remove_prefix(1);
  }
  if (int(s.size()) > w) {
    stars(line, w);
    return false;
  }
  right(line, s, w);
  return true;
}

}  // namespace

bool put_I(std::string& line, long long v, int w) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string_view s(buf, std::size_t(r.ptr - buf));
  if (int(s.size()) > w) {
    stars(line, w);
    return false;
  }
  right(line, s, w);
  return true;
}

bool put_F(std::string& line, double v, int w, int d) {
  if (!std::isfinite(v)) {
    stars(line, w);
    return false;
  }
  char buf[402];
  auto r = std::to_chars(buf, buf + 400, v, std::chars_format::fixed, d);
  if (r.ec != std::errc()) {
    stars(line, w);
    return false;
  }
  if (d == 0) *r.ptr++ = '.';  // Fortran keeps the decimal point of F w.0
  char* p = buf;
  if (p[0] == '-' && all_zero_digits(std::string_view(p, std::size_t(r.ptr - p)))) ++p;
  if (r.ptr - p > w) {
    // The optional leading zero goes first when the field is too narrow.
    const bool neg = p[0] == '-';
    if (p[neg] == '0' && p[neg + 1] == '.') {
      if (neg) p[1] = '-';
      ++p;
    }
  }
  std::string_view s(p, std::size_t(r.ptr - p));
  if (int(s.size()) > w) {
    stars(line, w);
    return false;
  }
  right(line, s, w);
  return true;
}

bool put_E(std::string& line, double v, int w, int d, int scale) {
  if (!std::isfinite(v)) {
    stars(line, w);
    return false;
  }
  return put_exp(line, v, w, d, scale);
}

bool put_G(std::string& line, double v, int w, int d, int scale) {
  if (!std::isfinite(v)) {
    stars(line, w);
    return false;
  }
  if (v == 0.0) {
    const bool ok = put_F(line, 0.0, w - 4, d > 0 ? d - 1 : 0);
    put_X(line, 4);
    return ok;
  }
  char digits[128];
  int e = 0;
  sig_digits(v, d > 0 ? d : 1, digits, e);
  if (e >= 0 && e <= d) {
    const bool ok = put_F(line, v, w - 4, d - e);
    put_X(line, 4);
    return ok;
  }
  return put_exp(line, v, w, d, scale);
}

void put_A(std::string& line, std::string_view s, int w) {
  if (w <= 0) return;
  if (int(s.size()) >= w) {
    line.append(s.substr(0, std::size_t(w)));
  } else {
    line.append(std::size_t(w) - s.size(), ' ');
    line.append(s);
  }
}

void put_X(std::string& line, int n) {
  if (n > 0) line.append(std::size_t(n), ' ');
}

bool put_real(std::string& line, double v, int w, int n) {
  const double a = std::fabs(v);
  if (v == 0.0 || a < 1e-50) return put_F(line, 0.0, w, n);
  if (!std::isfinite(v)) {
    stars(line, w);
    return false;
  }
  // The limits between the fixed and the exponent form are the powers of ten rounded to
  // single precision (0.1f lies a little above 0.1): a value at a limit takes the form that
  // the rounded limit gives it, in every report alike.
  const double lo = double(std::pow(10.0f, float(3 - n)));
  const double hi = double(std::pow(10.0f, float(n)));
  if (a <= lo || a >= hi) return put_exp(line, v, w, n, 1);
  int k = int(std::log10(a));  // truncated toward zero
  if (k < 0) k -= 1;
  const int d = n - k;
  if (d <= n + 2) return put_F(line, v, w, d);
  return put_exp(line, v, w, n, 1);
}

std::string free_real(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, std::size_t(r.ptr - buf));
}

}  // namespace torva
