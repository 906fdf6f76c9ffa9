// Records of the flexibility-estimation files ESTREC1 and ESTREC2: 5 blanks, an integer of
// 5 columns, 2 blanks, then the reals in general form (18 columns, 8 significant digits,
// scaled), each followed by 3 blanks. They are read back free-format.
#pragma once

#include <string>

#include "run/textfile.h"

namespace torva {

void WRTESTREC(TextFile& f, int n, const double* v, int count);

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
