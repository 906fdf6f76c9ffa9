// Analysis soil layers and the soil property-versus-depth profile.
//
// The input echo builds these from the soil layers as read: one row per layer (top and
// bottom depth, soil criterion code) and a piecewise-linear profile with two points per
// layer (p = 2L-1 at the top of layer L, p = 2L at its bottom), so a layer boundary is a
// repeated depth. Depths are X coordinates (positive downward) in internal units; every
// soil lookup interpolates this profile.
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Analysis soil layers, rows 1..NLAYER.
struct SOILLAYR {
  Arr1<double, MAXLAYER> LTOP;   // depth of the top of layer L; LTOP(1) is the ground surface
  Arr1<double, MAXLAYER> LBOT;   // depth of the bottom of layer L
  Arr1<int, MAXLAYER> CNODE1;    // first node of layer L on the cap pseudo-pile (cap set-up fills)
  Arr1<int, MAXLAYER> CNODE2;    // last node of layer L on the cap pseudo-pile
  int NLAYER;                    // number of analysis layers
};

// Soil criterion code of each layer: 1 soft clay, 2 stiff clay with free water, 3 stiff
// clay without free water, 4 sand, 5 user p-y curves, 6 vuggy limestone, 7 silt, 8 API
// sand, 9 weak rock, 10 stiff clay without free water with initial k, 11 liquefied sand,
// 12 elastic subgrade, 13 soft clay with user J, 14 modified soft clay with initial k.
struct LAYTYPE {
  Arr1<int, MAXLAYER> LTYPE;
};

// The property-versus-depth profile. A property that a layer's criterion does not use is
// exactly 0 at both points of that layer.
struct SOILPROF {
  Arr1<double, MAXPROF> SPK;     // p-y subgrade modulus k
  Arr1<double, MAXPROF> SPER;    // rock-mass modulus ER of weak rock
  Arr1<double, MAXPROF> SPGAM;   // effective unit weight
  Arr1<double, MAXPROF> SPDEP;   // depth of the point
  Arr1<double, MAXPROF> SPC;     // cohesion c, or qu of vuggy limestone and weak rock
  Arr1<double, MAXPROF> SPPHI;   // friction angle (radians)
  Arr1<double, MAXPROF> SPE50;   // strain at 50% stress, or krm of weak rock
  Arr1<double, MAXPROF> SPDEPG;  // depth of the point of the unit-weight profile
  Arr1<double, MAXPROF> SPTIP;   // ultimate unit tip resistance as input (0 = estimate)
  Arr1<double, MAXPROF> SPJ;     // RQD (%) of weak rock, or the factor J
  Arr1<double, MAXPROF> SPSIDE;  // ultimate unit side friction as input (0 = estimate)
  int NSPX;                      // number of profile points, 2 x NLAYER
  int NSPXG;                     // number of points of the unit-weight profile
};

// ---- Fields of other areas' tables that the soil lookups and Table F read. -------------
// Declared here until the owner's table lands; whoever merges second removes these.

// Reference diameter of the coefficient lookups when IPYOUT = -1 (no input sets it).
struct RUNSW_soil {
  double DIAREF;
};

struct SoilTables : SOILLAYR, LAYTYPE, SOILPROF, RUNSW_soil {};

}  // namespace torva
