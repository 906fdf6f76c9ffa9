// The wharf-bent example read, converted and echoed, ready for 2-D cap analyses.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cap/anal2d.h"
#include "driver/runctl.h"
#include "echo/echo.h"
#include "input/readinput.h"
#include "io/platform.h"
#include "pile/loads.h"
#include "support/workdir.h"

namespace torva::testing {

inline std::string example(const char* name) {
  std::ifstream in(std::filesystem::path(TORVA_SOURCE_DIR) / "examples" / name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A run read, converted and echoed, ready for its analyses (files open).
struct Bent {
  testing::WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  int status = 0;
  explicit Bent(const std::string& text) {
    dir.write("case.dat", text);
    dir.write_names();
    OPENFILES(*m, status);
    if (status == 0) READINPUT(*m, status);
    m->NTHMAX = platform::max_threads();
    m->NTHUSE = m->NTHRUN = 1;
    if (status == 0) CONVINPUT(*m);
    if (status == 0) ECHOINPUT(*m, status);
    m->IPYOUT = 0;
    m->IOPASS = 0;
  }
  // Load case c analysed; returns the load and the displacement of the cap at the
  // origin (with NRESLT = 1 the cap envelope is the result itself). `scale` multiplies the
  // case's load.
  void analyse(int c, Vec3& FV, Vec3& DV, double scale = 1.0, int nreslt = 1) {
    m->ICASE = c;
    m->ICOMB = 0;
    SETCURCASE(*m, c);
    Vec6 L;
    LOADORIG(*m, c, L);
    CASELOAD(*m, c);
    DLOADORIG(*m, L);
    Vec3 loads, zero, last1, last2;
    loads(1) = scale * L(1);
    loads(2) = scale * L(2);
    loads(3) = scale * L(6);
    zero.fill(0.0);
    Arr1<double, 3> pt{};
    pt.fill(0.0);
    Flags3 fl;
    fl.fill(1);
    m->NRESLT = nreslt;
    int ipy = 0;
    ANAL2D(*m, 0, ipy, status, last1, last2, loads, zero, zero, pt, fl);
    for (int i = 1; i <= 3; ++i) {
      FV(i) = m->EMNCAP(i);
      DV(i) = m->EMNCAP(6 + i);
    }
  }
  std::string close_and_read(const std::string& name) {
    FINISH(*m, status);
    return dir.read(name);
  }
};

// The wharf-bent example. Its pile closure tolerance is 1e-9 in: with 1e-6 in the pile
// shapes close only to about 1e-6 in, the pile-row sum jumps by that much times the
// foundation stiffness where the number of pile iterations changes, and the cap (which
// moves only about 2e-3 in under a quarter of the load) cannot meet TOLCAP = 1e-4.
inline std::string bent_text() { return example("bent_2d_stiff_clay_us.dat"); }

}  // namespace torva::testing
