// Routines of other areas that the single-pile solutions call: section and soil
// lookups, the p-y dispatcher, soil movement at the nodes, curve slopes and small
// vector tools. Provided here until the owner's routine lands; the owner's version
// replaces each one (same name, same arguments).
#pragma once

#include "model/model.h"

namespace torva {

// Section properties of pile property t at axis coordinate x of row g, interpolated
// within the section that holds the point.
double SECEIZ(const Model& m, int g, int t, double x);
double SECEIY(const Model& m, int g, int t, double x);
double SECDIAM(const Model& m, int g, int t, double x);
double SECIZ(const Model& m, int g, int t, double x);
double SECIY(const Model& m, int g, int t, double x);
double SECAREA(const Model& m, int g, int t, double x);
double SECMN(const Model& m, int g, int t, double x);
double SECVN(const Model& m, int g, int t, double x);
// Moment-curvature set of the section that holds the point (0 = elastic).
int SECMPHIY(const Model& m, int g, int t, double x);
int SECMPHIZ(const Model& m, int g, int t, double x);

// Soil modulus k at a depth, with its defaults.
double KDEPDEF(Model& m, double x);

// Generated p-y curves of row g at its pile nodes k = 1..NSEG+1.
void PYCURVE(Model& m, int t, int& status, int g, int gf, NodeVec& y, NodeVec& Es, NodeVec& s1,
             NodeVec& s2, NodeVec& F, NodeVec& p);

// Free-field soil movement of row g at its pile nodes along local y and z.
void SMOVEPILE(Model& m, int g);
void SMOVEY(const Model& m, int g, NodeVec& s);
void SMOVEZ(const Model& m, int g, NodeVec& s);

// Slope of the row's load-settlement / torque-rotation curve next to the origin.
double AXSLOPE(const Model& m, int g, int flag);
double TRSLOPE(const Model& m, int g, int flag);

// y = A x for a 6 x 6 matrix stored by columns.
void MATVEC6(double y[6], const double A[36], const double x[6]);

// sqrt(a^2 + b^2), a component below 1.0E-24 in magnitude counting as 0.
double VLEN2(double a, double b);

}  // namespace torva
