// Property-versus-depth lookups: section properties of a pile-group row at a depth along
// the pile, soil properties of the profile at a depth or averaged from the ground surface,
// and coefficient tables by normalised depth.
//
// x is always a depth (X coordinate, positive downward, internal units). Section lookups
// measure the depth along the pile from the row's head, z = x - HEADDEP(g). The soil
// lookups that can meet a depth beyond the profile write a warning through `emit` (so a
// parallel row loop captures it per row) and set the caller's status word; none of them
// clears it. They write nothing else: safe to call from concurrent pile-row loops as long
// as each row passes its own status word.
#pragma once

#include "model/model.h"

namespace torva {

// Section lookups, interpolated within a tapered section (top and bottom values).
double SECDIAM(const Model& m, int g, int t, double x);
double SECIZ(const Model& m, int g, int t, double x);
double SECIY(const Model& m, int g, int t, double x);
double SECAREA(const Model& m, int g, int t, double x);
double SECGJ(const Model& m, int g, int t, double x);
double SECMN(const Model& m, int g, int t, double x);
double SECVN(const Model& m, int g, int t, double x);
double SECEIZ(const Model& m, int g, int t, double x);
double SECEIY(const Model& m, int g, int t, double x);
// Section lookups, one value per section.
double SECDIMZ(const Model& m, int g, int t, double x);
double SECDIMY(const Model& m, int g, int t, double x);
int SECSHAPE(const Model& m, int g, int t, double x);
// Section lookups, step (the last section reaches down to 1.2 x the pile length).
double SECEMOD(const Model& m, int g, int t, double x);
int SECMPHIY(const Model& m, int g, int t, double x);  // ISEIZ of the section
int SECMPHIZ(const Model& m, int g, int t, double x);  // ISEIY of the section

// Soil point lookups: linear within a layer; at a layer boundary the mean of the two
// layers' values (the non-zero one when the other is zero).
double KDEP(const Model& m, double x);
double ERDEP(const Model& m, double x);
double E50DEP(const Model& m, double x);
double RQDDEP(const Model& m, double x);
double JDEP(const Model& m, double x);
double PHIDEP(Model& m, double x, int& status);  // radians; 24 beyond the profile
// Cohesion; at a boundary the lower layer's top value (the upper one when that is zero).
double COHESION(Model& m, double x, int& status);  // 23 beyond the profile
// k, or a default subgrade modulus from the cohesion class when the profile's k is zero.
// A cohesion lookup beyond the profile writes its warning and sets *warned when given.
double KDEPDEF(Model& m, double x, bool* warned = nullptr);

// Means from the ground surface LTOP(1) down to x.
double GAMAVG(Model& m, double x, int& status);  // unit weight; 22 beyond the profile
double COHAVG(Model& m, double x, int& status);  // cohesion; 23 at the surface only

// Interval lookups of the axial curves: at a layer boundary the lower layer's top value.
double SIDEFRIC(Model& m, double x, int& status);  // 25 beyond the profile
double TIPRES(Model& m, double x, int& status);    // 26 beyond the profile
double BPHIDEP(Model& m, double x, int& status);   // radians; 27 beyond the profile

// Coefficients by the depth below the ground surface in pile diameters.
double COEFAS(const Model& m, int g, int t, double x);  // AS of stiff clay with free water
double COEFAC(const Model& m, int g, int t, double x);  // AC of stiff clay with free water
double COEFTAB(const Model& m, int g, int t, double x, const double values[10],
               const double depths[10]);

// sqrt(a^2 + b^2), a component below 1e-24 in magnitude counting as 0.
double VLEN2(double a, double b);

}  // namespace torva
