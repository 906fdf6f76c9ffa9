// Records of the flexibility-estimation files ESTREC1 and ESTREC2: 5 blanks, an integer of
// 5 columns, 2 blanks, then the reals in general form (18 columns, 8 significant digits,
// scaled), each followed by 3 blanks. They are read back free-format.
#pragma once

#include <string>

#include "io/textfile.h"
#include "model/model.h"
#include "pile/matinv.h"

namespace torva {

void WRTESTREC(TextFile& f, int n, const double* v, int count);

// Records of a flexibility level (degree of freedom IPSTF, level ISTEP) after its analysis:
// on ESTREC2 the load reached on that degree of freedom, q, and the ndof cap displacements
// dv, then on ESTREC2 and ESTREC1 the displacements per unit load (the displacements
// themselves for a load below 1e-14).
void ESTRECPOINT(Model& m, double q, const double* dv, int ndof);
// Records of a flexibility level whose analysis found no solution: level -ISTEP with zeros
// on ESTREC2 and the unit vector of IPSTF on ESTREC1 (the component is not estimated).
void ESTRECFAIL(Model& m, int ndof);

// Reads the records of an estimation file in order, free-format: an integer, then reals.
class EstrecReader {
 public:
  bool open(const std::string& path);
  // The next record: its integer and `count` reals. False at the end of the file or on a
  // record that cannot be read.
  bool next(int& n, double* v, int count);
  void close() { f_.close(); }

 private:
  TextFile f_;
};

}  // namespace torva
