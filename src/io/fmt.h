// One formatter for fixed-column fields in the Fortran edit-descriptor style (I, F, E, G,
// A, X) and for the report rule that chooses fixed or exponent form by magnitude. Every
// report of the engine is written through these functions; each appends exactly the
// field's width to `line` (asterisks when the value does not fit).
#pragma once

#include <string>
#include <string_view>

namespace torva {

// Iw: integer right-aligned in w columns.
bool put_I(std::string& line, long long v, int w);
// Fw.d: fixed form, d decimals, right-aligned; never "-0.000".
bool put_F(std::string& line, double v, int w, int d);
// Ew.d: "0.dddE+xx" form; with scale 1 (the 1P prefix) "d.dddE+xx" with d decimals.
bool put_E(std::string& line, double v, int w, int d, int scale = 0);
// Gw.d: fixed form in w-4 columns and 4 blanks for 0.1 <= |v| < 10^d (or zero),
// otherwise Ew.d (with the scale factor, if any).
bool put_G(std::string& line, double v, int w, int d, int scale = 0);
// Aw: text right-aligned in w columns, a longer text cut to its first w characters.
void put_A(std::string& line, std::string_view s, int w);
// nX: n blanks (nothing for n <= 0).
void put_X(std::string& line, int n);
// The report rule for reals (fixed or exponent form chosen by magnitude), w columns,
// n decimals: the form of WRTREAL and BUFREAL.
bool put_real(std::string& line, double v, int w, int n);
// A real in a free-format line: shortest text that reads back to the same value.
std::string free_real(double v);

}  // namespace torva
