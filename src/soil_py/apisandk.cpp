// Initial modulus of sand from the friction angle, above or below the water table.
#include "soil_py/pycurve.h"

namespace torva {

void APISANDK(double phi, double gam, double& k, int units) {
  if (units != 1 && units != 2) return;
  const double phid = phi * 180.0 / 3.141592653589793;
  const bool submerged = units == 1 ? gam <= double(0.045f) : gam <= double(12.225f);
  double v;
  if (phid < double(27.6423f)) {
    v = (submerged ? 10.20672607421875 : 10.206787109375) * phid / double(27.6423f);
  } else if (phid <= 45.0) {
    v = submerged ? ((double(0.0166f) * phid - double(1.55262f)) * phid + double(58.42955f)) * phid -
                        double(769.18353f)
                  : (double(0.4168f) * phid - double(8.1254f)) * phid - double(83.664f);
  } else {
    v = submerged ? double(228.76556f) : double(394.71298f);
    if (units == 2) {
      k = submerged ? double(62097.758f) : double(107143.71f);
      return;
    }
  }
  k = units == 2 ? v * double(271.4471f) : v;
}

}  // namespace torva
