// Plate models for the tests of the plate program: a rectangular mesh of 8-node (or
// 4-node) elements numbered counter-clockwise, written in the model-file format, and a
// runner that solves it in a temporary working directory.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "capfe/capfem.h"
#include "capfe/platerun.h"
#include "model/model.h"
#include "support/workdir.h"

namespace torva::testing {

// `text` with each (from, to) replaced once; a missing `from` fails the test.
inline std::string edited(std::string text, const std::vector<std::pair<std::string, std::string>>& edits) {
  for (const auto& [from, to] : edits) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
  }
  return text;
}

struct PlateMesh {
  int nx = 2, ny = 2, nnode = 8, ngaus = 2;
  double a = 1.0, b = 1.0;                 // plan size along x and y
  std::vector<double> x, y;                // node coordinates (1-based via n-1)
  std::vector<std::vector<int>> elem;      // node numbers of each element
  std::map<std::pair<int, int>, int> at;   // grid position -> node number

  void build() {
    const int gx = nnode == 4 ? nx : 2 * nx, gy = nnode == 4 ? ny : 2 * ny;
    for (int j = 0; j <= gy; ++j)
      for (int i = 0; i <= gx; ++i) {
        if (nnode == 8 && i % 2 == 1 && j % 2 == 1) continue;
        x.push_back(a * i / gx);
        y.push_back(b * j / gy);
        at[{i, j}] = int(x.size());
      }
    for (int r = 1; r <= ny; ++r)
      for (int c = 1; c <= nx; ++c) {
        if (nnode == 4) {
          elem.push_back({at[{c - 1, r - 1}], at[{c, r - 1}], at[{c, r}], at[{c - 1, r}]});
        } else {
          const int i0 = 2 * c - 2, j0 = 2 * r - 2;
          elem.push_back({at[{i0, j0}], at[{i0 + 2, j0}], at[{i0 + 2, j0 + 2}], at[{i0, j0 + 2}],
                          at[{i0 + 1, j0}], at[{i0 + 2, j0 + 1}], at[{i0 + 1, j0 + 2}], at[{i0, j0 + 1}]});
        }
      }
  }
  int npoin() const { return int(x.size()); }
};

// The sections of a model file beyond the mesh, as text records.
struct PlateModel {
  PlateMesh mesh;
  double e = 1.0e6, nu = 0.3, t = 0.1;
  std::vector<std::string> fix, nodload, nodstif, distload, diststif, pntload, pntstif, edgeload, edgestif,
      piles;
  double dt = 1.0, tini = 0.0, tend = 1.0, dtmin = 0.01;
  int maxiter = 10, ispring = 0;

  // Restraint record of node n: codes and values.
  void restrain(int n, const int codes[6], const double vals[6] = nullptr) {
    std::ostringstream s;
    s << n;
    for (int i = 0; i < 6; ++i) s << ' ' << codes[i];
    for (int i = 0; i < 6; ++i) s << ' ' << (vals ? vals[i] : 0.0);
    fix.push_back(s.str());
  }

  std::string text() const {
    std::ostringstream s;
    s.precision(17);
    s << "PLATE MODEL OF A TEST\n";
    s << mesh.npoin() << ' ' << mesh.elem.size() << " 1 " << mesh.nnode << ' ' << mesh.ngaus << ' ' << fix.size()
      << ' ' << nodload.size() << ' ' << nodstif.size() << ' ' << distload.size() << ' ' << diststif.size() << ' '
      << pntload.size() << ' ' << pntstif.size() << ' ' << edgeload.size() << ' ' << edgestif.size() << ' '
      << piles.size() << ' ' << ispring << "\n";
    s << dt << ' ' << tini << ' ' << tend << ' ' << dtmin << ' ' << maxiter << " 0.001\n";
    for (std::size_t k = 0; k < mesh.elem.size(); ++k) {
      s << k + 1 << ' ' << 100 + k + 1 << " 1";
      for (int n : mesh.elem[k]) s << ' ' << n;
      s << "\n";
    }
    for (int n = 1; n <= mesh.npoin(); ++n) s << n << ' ' << n << ' ' << mesh.x[n - 1] << ' ' << mesh.y[n - 1] << "\n";
    for (const auto& r : fix) s << r << "\n";
    s << "1 " << e << ' ' << nu << ' ' << t << "\n";
    for (const auto* sec : {&nodload, &nodstif, &distload, &diststif, &pntload, &pntstif, &edgeload, &edgestif, &piles})
      for (const auto& r : *sec) s << r << "\n";
    return s.str();
  }
};

// A linear pile: F = -K U in the pile-row axes, with K given by its diagonal (6 values)
// or whole (36 values, column-major).
class LinearPiles final : public PileSprings {
 public:
  explicit LinearPiles(const std::vector<double>& k) : k_(36, 0.0) {
    if (k.size() == 36) {
      k_ = k;
    } else {
      for (std::size_t i = 0; i < 6 && i < k.size(); ++i) k_[i + 6 * i] = k[i];
    }
  }
  void force(Model&, int, double F[6], const double U[6], int&) const override {
    for (int i = 0; i < 6; ++i) {
      F[i] = 0.0;
      for (int j = 0; j < 6; ++j) F[i] -= k_[std::size_t(i + 6 * j)] * U[j];
    }
  }
  void tangent(Model&, int, double K[36], const double[6], int&) const override {
    for (int i = 0; i < 36; ++i) K[i] = -k_[std::size_t(i)];
  }
  const std::vector<double>& matrix() const { return k_; }

 private:
  std::vector<double> k_;
};

// Runs the plate program on `model` in a fresh working directory; keeps the run record.
struct PlateRunner {
  WorkDir dir;
  std::unique_ptr<Model> m = new_model();
  std::unique_ptr<PlateRun> run;
  LinearPiles none{{0, 0, 0, 0, 0, 0}};

  // `stop`: the stop poll of the run (none when empty).
  void solve(const std::string& model_text, const PileSprings* piles = nullptr,
             const std::function<bool()>& stop = {}) {
    dir.write("tslab.dat", "plot.plt\nplate.fem\nplate.fel\nplate.fer\nplate.flg\n");
    dir.write("plate.fem", model_text);
    run = std::make_unique<PlateRun>(*m, piles != nullptr ? *piles : none);
    run->stop = stop;
    run_plate_program(*run);
  }
  // Displacement i (1..6) of node n.
  double u(int n, int i) const { return run->ASDIS[std::size_t(6 * (n - 1) + i - 1)]; }
  std::string listing() const { return dir.read("plate.fel"); }
};

}  // namespace torva::testing
