#include "pile/ptrans.h"

#include <cmath>

namespace torva {

void PTRANS(const Model& m, int g, Mat6& Ht, Mat6& H, Mat6& Qt, Mat6& Q) {
  Ht.fill(0.0);
  H.fill(0.0);
  Qt.fill(0.0);
  Q.fill(0.0);

  const double X = m.CORX(g), Y = m.CORY(g), Z = m.CORZ(g);
  for (int i = 1; i <= 6; ++i) H(i, i) = 1.0;
  // Head translation picks up the cap rotation times the lever arm r = (X, Y, Z).
  H(1, 5) = Z;
  H(1, 6) = -Y;
  H(2, 4) = -Z;
  H(2, 6) = X;
  H(3, 4) = Y;
  H(3, 5) = -X;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) Ht(i, j) = H(j, i);

  const double sa = std::sin(m.ALPHA(g)), ca = std::cos(m.ALPHA(g));
  const double sb = std::sin(m.BETA(g)), cb = std::cos(m.BETA(g));
  const double st = std::sin(m.THETA(g)), ct = std::cos(m.THETA(g));
  // Rows of R: the local axes x (pile axis), y and z in global components; y and z are
  // the section axes at THETA = 0 turned by THETA about the pile axis.
  const double R[3][3] = {
      {sb, ca * cb, sa * cb},
      {-cb * ct, ca * sb * ct - sa * st, sa * sb * ct + ca * st},
      {cb * st, -(ca * sb * st + sa * ct), ca * ct - sa * sb * st},
  };
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      Q(i, j) = R[i - 1][j - 1];
      Q(i + 3, j + 3) = R[i - 1][j - 1];
    }
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) Qt(i, j) = Q(j, i);
}

}  // namespace torva
