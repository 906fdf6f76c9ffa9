// One run of the plate finite-element program of a flexible pile cap: its model tables,
// the work arrays of the Newton loop, the element work areas, its files and the pile
// springs it asks for forces and tangents.
//
// Numbering (shared by every routine of the plate program):
// - element nodes: corners counter-clockwise, then mid-sides, then the centre, at the
//   natural positions 1 (-1,-1), 2 (1,-1), 3 (1,1), 4 (-1,1), 5 (0,-1), 6 (1,0), 7 (0,1),
//   8 (-1,0), 9 (0,0); side k runs from corner k to corner k+1 (side 4 back to corner 1)
//   with its mid-side node k+4;
// - six freedoms per node: u, v (membrane), w, rotation of the normal in the x-z plane,
//   rotation in the y-z plane (plate; the slopes dw/dx and dw/dy where the shear strain is
//   nil), drilling rotation about z, tied to the membrane's in-plane rotation; variable
//   6(n-1)+i is freedom i of node n, and the element variables are node-major the same way;
// - nodal vectors hold six values per node, node after node; element matrices are stored
//   row by row, one NEVAB x NEVAB block per element.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "io/textfile.h"
#include "model/status.h"
#include "model/table.h"

namespace torva {

struct Model;

// A 1-based table sized at run time (first index fastest), bounds-checked like the fixed
// tables of the model.
template <class T>
class Dyn2 {
 public:
  void resize(int n1, int n2) {
    n1_ = n1 > 0 ? n1 : 0;
    n2_ = n2 > 0 ? n2 : 0;
    v_.assign(std::size_t(n1_) * std::size_t(n2_), T{});
  }
  T& operator()(int i, int j) {
    TORVA_ASSERT(1 <= i && i <= n1_ && 1 <= j && j <= n2_, "index out of plate table bounds");
    return v_[std::size_t(i - 1) + std::size_t(n1_) * std::size_t(j - 1)];
  }
  const T& operator()(int i, int j) const {
    TORVA_ASSERT(1 <= i && i <= n1_ && 1 <= j && j <= n2_, "index out of plate table bounds");
    return v_[std::size_t(i - 1) + std::size_t(n1_) * std::size_t(j - 1)];
  }
  // Column j as a plain array (the n1 values of entry j).
  T* col(int j) { return v_.data() + std::size_t(n1_) * std::size_t(j - 1); }
  const T* col(int j) const { return v_.data() + std::size_t(n1_) * std::size_t(j - 1); }
  void fill(const T& x) { std::fill(v_.begin(), v_.end(), x); }
  int n1() const { return n1_; }
  int n2() const { return n2_; }

 private:
  std::vector<T> v_;
  int n1_ = 0, n2_ = 0;
};

// Element work areas: sized for 9 nodes and 3 x 3 Gauss points, overwritten element by
// element and point by point.
struct FEWORK {
  Arr2<double, 3, 3> MEMDMAT;
  Arr2<double, 5, 5> PLTDMAT;
  Arr2<double, 3, 18> MEMBMAT;
  Arr2<double, 5, 27> PLTBMAT;
  Arr2<double, 3, 18> MEMDB;
  Arr2<double, 5, 27> PLTDB;
  Arr3<double, 5, 27, 9> PLTDBG;
  Arr3<double, 3, 18, 9> MEMDBG;
  Arr2<double, 3, 9> ELXY;
  Arr1<double, 9> SHPVAL;
  Arr2<double, 2, 9> SHPDER;
  Arr2<double, 2, 9> SHPDXY;
  Arr2<double, 2, 9> GPXY;
  Arr1<double, 3> GAUSSPT, GAUSSWT;
};

// Force and tangent of the pile rows that carry the plate. The default springs are the
// run's single-pile analysis; tests give springs of their own.
class PileSprings {
 public:
  virtual ~PileSprings() = default;
  // F: the six head forces that row `row` exerts for the head displacement U (pile-row
  // axes: X vertical and down, Y, Z horizontal; then the three rotations).
  virtual void force(Model& m, int row, double F[6], const double U[6], int& status) const = 0;
  // K: the 6 x 6 head tangent (column-major) of row `row` at U.
  virtual void tangent(Model& m, int row, double K[36], const double U[6], int& status) const = 0;
};

// Sizes of one element record on the element scratch file.
inline constexpr int ELREC_PLT = 5 * 27 * 9;
inline constexpr int ELREC_MEM = 3 * 18 * 9;
inline constexpr int ELREC_XY = 2 * 9;
inline constexpr int ELREC_LEN = ELREC_PLT + ELREC_MEM + ELREC_XY;

// A sequential unformatted record file of fixed-length records of reals (the element and
// equation scratch files), each record framed as sequential unformatted records are: its
// length in 4 bytes before and after it.
class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { close(); }
  bool open(const std::string& path);  // created or emptied
  void close();
  void rewind() { pos_ = 0; }
  // Writes record number pos_+1 and advances; records after it are dropped.
  bool write(const double* v, int n);
  // Reads record number k (1-based) into v (n values). False past the end or on failure.
  bool read_at(long k, double* v, int n);
  // Reads the next record and advances.
  bool read(double* v, int n);
  long count() const { return count_; }
  long position() const { return pos_; }
  bool is_open() const { return fp_ != nullptr; }
  const std::string& path() const { return path_; }
  // The system's reason (an errno value) of the last open, write or read that failed; 0
  // when the system gave none (a record missing or of another length).
  int error() const { return err_; }

 private:
  bool failed();  // records errno as the reason of a failure; false
  std::FILE* fp_ = nullptr;
  std::string path_;
  int err_ = 0;
  long pos_ = 0;    // records before the current position
  long count_ = 0;  // records in the file
  long len_ = 0;    // values per record (fixed by the first write)
};

// Everything one run of the plate program works on.
struct PlateRun {
  explicit PlateRun(Model& model, const PileSprings& springs) : m(model), piles(springs) {}
  Model& m;
  const PileSprings& piles;
  int status = 0;  // first failure of the run (a status code), 0 when none
  std::string why;  // what failed, in a line of the run log (empty: the listing says it)
  // Polled before every iteration: true ends the run in order with the stop status.
  std::function<bool()> stop;
  // The plate is the cap of the run: pile record i is pile row i, at the row's head, and
  // every row has its record.
  bool piles_are_rows = false;

  // Outcome of the stepping.
  int steps = 0;          // converged steps
  double reached = 0.0;   // load factor of the last converged step (0 before the first)
  bool complete = false;  // the last converged step ended at TEND
  bool cut = false;       // a step needed an increment below the smallest: the stepping ended

  FEWORK w;

  // Model tables (filled by FEINPUT).
  std::vector<int> ELLAB, MATNO;  // per element: label, material number
  Dyn2<int> LNODS;                // node numbers of each element (NNODE x NELEM)
  std::vector<int> NODLAB;        // per node: label
  Dyn2<double> COORD;             // x, y of each node (2 x NPOIN)
  std::vector<int> NOFIX;         // restrained node numbers
  Dyn2<int> IFPRE;                // restraint codes (6 x NVFIX)
  Dyn2<double> PRESC;             // prescribed values (6 x NVFIX)
  Dyn2<double> PROPS;             // E, nu, thickness of each material (3 x NMATS)
  std::vector<int> NLNOD, NSNOD;  // nodal loads and stiffnesses: node numbers
  Dyn2<double> NLVAL, NSVAL;      // their six values
  std::vector<int> DLEL, DSEL;    // distributed loads and stiffnesses: element numbers
  Dyn2<double> DLVAL, DSVAL;
  Dyn2<double> PLXY, PSXY;        // concentrated loads and stiffnesses: X, Y then s, t
  std::vector<int> PLEL, PSEL;    //   their elements (0: not located)
  Dyn2<double> PLVAL, PSVAL;
  Dyn2<int> ELINT, ESINT;         // edge loads and stiffnesses: element, side, freedom
  Dyn2<double> ELDVAL, ESVAL;     //   their three intensities
  Dyn2<double> PIXY;              // piles: X, Y then s, t
  std::vector<int> PIEL;          //   their elements (0: not located)

  // Work arrays of the Newton loop.
  std::vector<double> ELMAT;  // NEVAB x NEVAB per element, row by row
  Dyn2<double> ELVEC;         // NEVAB x NELEM
  std::vector<double> GLOBV, DSDIS, TSDIS, ASDIS;  // 6 x NPOIN each
  std::vector<double> FIXINC;  // increment imposed on each restrained variable this iteration
  Dyn2<double> STRSUM;         // smoothed stress sums (8 x NPOIN)
  std::vector<double> STRWT;   // smoothing weights
  std::vector<int> STREXACT;   // 1 when a Gauss point sits on the node (its values are taken)

  // Files of the plate program.
  std::string model_file;  // name of the plate model file, for messages
  TextFile FELIST, FERESULT, FELOG, FETRACE;
  RecordFile FORT2, FORT3, FORT4;

  // A file of the plate program that cannot be opened, written or read back: the run's
  // failure unless an error came first (a stop request gives way to it), with the file's
  // name and the system's reason (0: none) for the run's messages.
  std::string failed_file;
  int failed_errno = 0;
  // Every other file of the plate program that could not be written in full after it.
  std::vector<std::pair<std::string, int>> also_failed;

  double& elmat(int e, int i, int j);
  void fail(int code) {
    if (status == 0) status = code;
  }
  void file_failed(int code, const std::string& path, int err) {
    if (status != 0 && status != ST_STOP) {
      if (code == ST_FILEWRITE && path != failed_file) also_failed.emplace_back(path, err);
      return;
    }
    status = code;
    failed_file = path;
    failed_errno = err;
  }
  void file_failed(int code, const RecordFile& f) { file_failed(code, f.path(), f.error()); }
  void file_failed(int code, const TextFile& f) { file_failed(code, f.path(), f.write_errno()); }
};

}  // namespace torva
