// Normalised t-z (side load transfer) and q-w (tip) curve shapes, the rule that picks a
// shape by soil code and pile kind, and the readers of both kinds of curve.
//
// A t-z curve is ten points (z, t) with point 1 at the origin: z the relative movement of
// pile and soil, t the unit side load transfer. The shapes are scaled by the ultimate unit
// side friction tmax of the depth point and, for three of them, by the pile diameter. A
// q-w curve is ten points (w, q): tip movement and tip force, scaled by the tip capacity.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

struct Model;

inline constexpr int NTZPT = 10;                  // points of a t-z or q-w curve
inline constexpr int MAXDPT = 3 * MAXLAYER + 2;   // depth points of a pile (three per layer)

using DPArr = Arr1<double, MAXDPT>;               // one value per depth point
using TZTab = Arr2<double, MAXDPT, NTZPT>;        // T(n, j) or Z(n, j): point j of curve n
using QWArr = Arr1<double, NTZPT>;                // one tip-curve column

// Pile kinds (PILEKIND).
inline constexpr int DRIVEN = 1;
inline constexpr int DRILLED = 2;

// Drilled shaft in sand-like soil, z scaled by the diameter D.
void TZDSSAND(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax);
// Drilled shaft in clay, z scaled by D.
void TZDSCLAY(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax);
// Driven pile in sand: hyperbola with the initial modulus by friction angle (degrees).
// A non-positive tmax(n) is raised to 0.001 and stored back.
void TZDPSAND(const Model& m, int n, TZTab& T, TZTab& Z, DPArr& tmax, const DPArr& phi);
// Driven pile in clay: fixed movements.
void TZDPCLAY(const Model& m, int n, TZTab& T, TZTab& Z, const DPArr& tmax);
// Driven pile in user-curve or elastic soil, z scaled by D.
void TZCLAYZD(int n, double D, TZTab& T, TZTab& Z, const DPArr& tmax);

// Builds curve n by the shape that the soil code and the pile kind select. A drilled
// shaft in user-curve soil (code 5) takes the sand shape above 1 degree of friction angle
// and the clay shape otherwise; codes without a rule take the clay shapes.
void TZSHAPE(const Model& m, int code, int kind, int n, double D, TZTab& T, TZTab& Z,
             DPArr& tmax, const DPArr& phi);

// True for the tip codes of the sand set of the q-w rules (every code outside the clay set
// 1, 2, 3, 5, 6, 10, 13, 14).
bool QWSANDSET(int code);

// Exponent of the driven-pile tip curve in sand by the friction angle (degrees) at the tip.
double QWEXPONENT(double phiDeg);

// Tip q-w curve of ten points for the pile kind and the tip code (after the clay override):
// K the tip capacity (a force), D the diameter at the top of the first section, Dl the
// diameter of the E50 rule, E50 the strain at half strength at the tip, phiTip the friction
// angle (degrees) that selects the exponent of the driven-pile sand rule. The caller
// refuses a zero E50 or K before the driven clay rule (its w50 rule divides by both).
void QWTIP(const Model& m, int kind, int code, double K, double D, double Dl, double E50,
           double phiTip, QWArr& W, QWArr& Q);

// Reads curve n of a t-z table at the movement u: linear between the bracketing points,
// 0 at or below the first point, the last value at or beyond the last point.
double TZREAD(const TZTab& T, const TZTab& Z, int n, double u);
// Reads a q-w curve at the tip movement w: linear between the bracketing points, 0 at
// w <= 0, and beyond the last point along the line through the last two points.
double QWREAD(const QWArr& W, const QWArr& Q, double w);

}  // namespace torva
