// Unit conversions between input, internal and report units, unit labels and the column
// headings of the node-result tables. Internal units: pounds and inches for US customary
// (and generic) input, kilonewtons and metres for SI input. Only IUNITS = 2 means SI.
#pragma once

#include "model/model.h"

namespace torva {

// Input to internal units.
double TOIN(const Model& m, double x);   // length: ft -> in
double TOPSI(const Model& m, double x);  // stress: psf -> psi
double TOPCI(const Model& m, double x);  // unit weight: pcf -> pci
double TOM(const Model& m, double x);    // section dimension: mm -> m (SI)
double TOM2(const Model& m, double x);   // section area
double TOM4(const Model& m, double x);   // second moment of area
// Internal to report units.
double TOFT(const Model& m, double x);
double TOPSF(const Model& m, double x);
double TOPCF(const Model& m, double x);
double TOMM(const Model& m, double x);
double TOMM2(const Model& m, double x);
double TOMM4(const Model& m, double x);

// code < 0: SI labels; code > 0: US customary; 0: generic.
void SETUNITLAB(Model& m, int code);
// dim 3: the 3-D headings; any other value the 2-D headings. After SETUNITLAB.
void SETCOLLAB(Model& m, int dim);

}  // namespace torva
