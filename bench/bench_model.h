// Generated inputs of the benchmarks: a square group of pile rows in sand (or another
// criterion), its folder with "Names.dat", and the model read and completed from it.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "driver/runctl.h"
#include "echo/echo.h"
#include "input/readinput.h"
#include "io/platform.h"
#include "pile/loads.h"

namespace torva_bench {

namespace fs = std::filesystem;

// A square group of n rows (n a square number) of 18 in concrete piles at 3 diameters in
// sand, one load case, generated axial and torsion curves shared by every row.
std::string group_input(int n, int criterion = 4) {
  const int side = int(std::lround(std::sqrt(double(n))));
  std::ostringstream s;
  s << "GENERATED " << n << " PILE GROUP IN MEDIUM DENSE SAND\nBENCHMARK\n";
  s << "CONTROL RECORD\n1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 1 0 0 0 0\n";
  s << "PILE CAP\n" << side * 4.5 << " " << side * 4.5 << " 3.0 0.0 0.0 0\n";
  s << "LOAD CASES\n1 0 0 0 0\n0 0 0 1 1 100 500\n1.0E-4 1.0E-6 1.0 0.01\n";
  s << "LATERAL AND VERTICAL\n0 0 0 0 0 0 0 0\n2 1 1.0 0 0.0 0.0 0 0 0\n0\n";
  s << "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n";
  s << 100000.0 * n << " " << 10000.0 * n << " 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n";
  s << "LOAD COMBINATIONS\n0 0 0 0 0\nLOAD VERSUS DEPTH CURVES\n0\n";
  s << "PILE GROUP ROWS\n" << n << "\n";
  for (int i = 0; i < side; ++i)
    for (int j = 0; j < side; ++j) {
      s << "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n";
      s << "0.0 " << (i - 0.5 * (side - 1)) * 4.5 << " " << (j - 0.5 * (side - 1)) * 4.5
        << " 0.0 90.0 0.0 0.0\n";
    }
  s << "PILE PROPERTIES\n1\n1 1\n100 50.0 1\n0.0 50.0 1\n";
  s << "CROSS SECTIONS\n1\n1 0 0 0\n'CONCRETE 18 IN ROUND'\n18.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n";
  s << "1.6667E6 254.469 5152.997 5152.997 0.0 1.7177E10 3.0E6 1.0E5 4.0E6 0.0 0\n0 0 0.0 1 0\n'NONE'\n";
  s << "SOIL LAYERS\n1\n1 " << criterion << "\n0.0 80.0\n2 9\n";
  s << "110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n110.0 0.0 33.0 90.0 0.0 0.0 0.0 0.0 0.0\n";
  s << "ROWS WITH GENERATED LOAD-SETTLEMENT CURVES\n1\n1\n";
  s << "ROWS WITH GENERATED TORQUE-ROTATION CURVES\n1\n1\n";
  s << "MOMENT-CURVATURE CURVES OF THE NONLINEAR CROSS SECTIONS\n0\n";
  return s.str();
}

// A folder holding the generated input "case.dat" and its "Names.dat"; removed at the end.
struct CaseFolder {
  fs::path dir;
  CaseFolder(int n, int criterion) {
    dir = fs::temp_directory_path() / ("torva_bench_" + std::to_string(::getpid()) + "_" +
                                       std::to_string(n) + "_" + std::to_string(criterion));
    fs::create_directories(dir);
    std::ofstream(dir / "case.dat") << group_input(n, criterion);
    std::ofstream names(dir / "Names.dat");
    names << "BENCH\n\n\n\ncase.dat\n";
    for (const char* e : {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".prg", ".gcd",
                          ".es1", ".es2", ".pls", ".stp", ".pst", ".kmx", ".wrn", ".trc", ".lsd",
                          ".cvd", ".stt", ".sus", ".mph"})
      names << "case" << e << "\n";
    std::ofstream(dir / "case.mph");
  }
  ~CaseFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  CaseFolder(const CaseFolder&) = delete;
  CaseFolder& operator=(const CaseFolder&) = delete;
};

// A model read, converted and completed for the generated group, ready for one analysis.
struct Prepared {
  CaseFolder folder;
  std::unique_ptr<torva::Model> m;
  explicit Prepared(int n, int criterion = 4) : folder(n, criterion) {
    const fs::path prev = fs::current_path();
    fs::current_path(folder.dir);
    m = torva::new_model();
    int status = 0;
    torva::OPENFILES(*m, status);
    if (status == 0) torva::READINPUT(*m, status);
    m->NTHMAX = torva::platform::max_threads();
    m->NTHUSE = m->NTHRUN = 1;
    if (status == 0) torva::CONVINPUT(*m);
    if (status == 0) torva::ECHOINPUT(*m, status);
    torva::SETCURCASE(*m, 1);
    fs::current_path(prev);
    if (status != 0) throw std::runtime_error("benchmark model failed with status " + std::to_string(status));
  }
};

}  // namespace torva_bench
