// Tip q-w curve of a pile row: tip position and soil code, tip capacity from the profile or
// estimated from the soil at the tip, and the curve shape of the tip soil and pile kind.
#pragma once

namespace torva {

struct Model;
struct AXWORK;

// Fills TIPW, TIPQ, TIPK, TIPX and TIPCODE of the work set for row g (property t). The
// pull-out side uses a tip area of 1e-4, so that the tip carries almost nothing. lsRules
// selects the capacity rules of the generated load-settlement curve (a silt tip adds 9 c A
// to its estimate; an elastic-subgrade tip keeps the profile value) rather than those of
// the distribution along the pile. A driven pile on a clay tip without E50 or capacity
// sets status 32 or 33 with its warning.
void AXTIPQW(Model& m, int g, int t, bool pullout, bool lsRules, int& status, AXWORK& w);

// The same for a tip at the coordinate xt with the soil code `code` (before the clay
// override), the tip area A and the diameter Dl of the E50 rule. The friction angle at xt
// selects Nq and the exponent of the driven sand curve.
void AXTIPAT(Model& m, int g, int t, double xt, int code, double A, double Dl, bool lsRules,
             int& status, AXWORK& w);

// Coordinate of the pile tip of row g: head plus the length, projected on the vertical
// when depths follow the battered pile.
double AXTIPX(const Model& m, int g, int t);
// Soil code of the layer that contains the coordinate x (the last layer below them all).
int AXCODEAT(const Model& m, double x);

// Writes a warning block (an empty line, the banner and the message after 5 blanks) to
// the results report and the run log.
void AXWARN(Model& m, const char* message);

// What a status raised while the axial curves of row g (property t) were made means for
// that row, on the results report and the run log after the lookup's own warning: the row,
// its head and tip, the soil layer concerned and what to check. For a depth beyond the soil
// profile (statuses 22 to 27), and for a tip whose E50 or capacity is zero (32 to 35);
// nothing for other statuses.
void AXROWNOTE(Model& m, int g, int t, int status);

}  // namespace torva
