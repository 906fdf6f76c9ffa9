// A hand-filled model for the p-y curve tests: one pile row (row 1, property 1) of one
// constant diameter, vertical, with equally spaced nodes, and a layered soil profile.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <vector>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "input/units.h"
#include "io/fmt.h"
#include "model/model.h"
#include "soil_py/pycurve.h"

namespace torva::pytest {

// Soil values at one profile point.
struct SoilPt {
  double c = 0, phi_deg = 0, gam = 0, k = 0, e50 = 0, j = 0, er = 0;
};

// A decimal constant of the curve formulas, as the criteria hold it.
constexpr double f32(float v) { return v; }

class PyModel {
 public:
  std::unique_ptr<Model> mp;
  Model& m;
  NodeArr y{}, Es{}, smy{}, smz{}, psm{}, p{};
  int status = 0;

  // nseg segments over `len`, head at depth `head`, ground `freelen` below the head.
  PyModel(int nseg, double len, double D, int units = 1, double head = 0.0, double freelen = 0.0)
      : mp(new_model()), m(*mp) {
    m.IUNITS = units;
    SETUNITLAB(m, units == 2 ? -1 : (units == 1 ? 1 : 0));
    m.SMALL = 1.0e-14;
    m.TOLCRV = f32(1.0e-6f);
    m.TOLDEP = f32(1.0e-5f);
    m.PI = 3.141592653589793;
    m.NROW = 1;
    m.ISTATIC = 1;
    m.CYCLES = 1.0;
    for (int g = 1; g <= MAXROWP; ++g) {
      m.PMULT(g) = m.YMULT(g) = 1.0;
    }
    m.PTYPE(1) = 1;
    m.HEADDEP(1) = head;
    m.FREELEN(1) = freelen;
    m.NSEG(1) = nseg;
    m.PILELEN(1) = len;
    m.SEGLEN(1) = len / nseg;
    m.NSECT(1) = 1;
    m.SFROM(1, 1) = 0.0;
    m.STO(1, 1) = len;
    m.SDIAM(1, 1) = m.SDIAMB(1, 1) = D;
    for (int n = 1; n <= nseg + 1; ++n) {
      m.DEPN(1, n) = head + (n - 1) * len / nseg;
      m.DEPAX(1, n) = m.DEPN(1, n);
    }
  }

  // Appends a soil layer from `top` to `bot` with criterion `code`.
  void layer(double top, double bot, int code, SoilPt a, SoilPt b) {
    const int L = ++m.NLAYER;
    m.LTOP(L) = top;
    m.LBOT(L) = bot;
    m.LTYPE(L) = code;
    const SoilPt pts[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
      const int k = 2 * L - 1 + i;
      const SoilPt& s = pts[i];
      m.SPDEP(k) = m.SPDEPG(k) = i == 0 ? top : bot;
      m.SPC(k) = s.c;
      m.SPPHI(k) = s.phi_deg * 3.141592653589793 / 180.0;
      m.SPGAM(k) = s.gam;
      m.SPK(k) = s.k;
      m.SPE50(k) = s.e50;
      m.SPJ(k) = s.j;
      m.SPER(k) = s.er;
    }
    m.NSPX = m.NSPXG = 2 * L;
    assign_nodes();
  }
  void layer(double top, double bot, int code, SoilPt s) { layer(top, bot, code, s, s); }

  // First and last node of row 1 in every layer (a node on a boundary belongs below it).
  void assign_nodes() {
    const int last = m.NSEG(1) + 1;
    for (int L = 1; L <= m.NLAYER; ++L) {
      m.NODE1(1, L) = m.NODE2(1, L) = 0;
      for (int n = 1; n <= last; ++n) {
        const double d = m.DEPN(1, n);
        const bool in = d >= m.LTOP(L) && (d < m.LBOT(L) || (L == m.NLAYER && d <= m.LBOT(L)));
        if (!in) continue;
        if (m.NODE1(1, L) == 0) m.NODE1(1, L) = n;
        m.NODE2(1, L) = n;
      }
    }
  }

  // Analysis evaluation of row 1 with every node at deflection `yv`.
  void eval(double yv) {
    for (int n = 1; n <= m.NSEG(1) + 1; ++n) y(n) = yv;
    PYCURVE(m, 1, status, 1, 1, y, Es, smy, smz, psm, p);
  }
  // Node whose depth is `d` (exactly on the grid).
  int node_at(double d) const {
    return 1 + int(std::lround((d - m.HEADDEP(1)) / (m.PILELEN(1) / m.NSEG(1))));
  }
};

// Opens the echo and plot-output files in a fresh temporary directory; text() reads back.
class PyFiles {
 public:
  explicit PyFiles(Model& m) : m_(m) {
    dir_ = std::filesystem::temp_directory_path() /
           ("torva_py_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "_" +
            std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    m.ECHO.open_write((dir_ / "echo.txt").string());
    m.PLOTOUT.open_write((dir_ / "plot.txt").string());
    m.RUNLOG.open_write((dir_ / "runlog.txt").string());
    m.REPORT.open_write((dir_ / "report.txt").string());
  }
  ~PyFiles() {
    m_.ECHO.close();
    m_.PLOTOUT.close();
    m_.RUNLOG.close();
    m_.REPORT.close();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string text(const char* name) {
    m_.ECHO.flush();
    m_.PLOTOUT.flush();
    m_.RUNLOG.flush();
    m_.REPORT.flush();
    std::ifstream f(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }

 private:
  Model& m_;
  std::filesystem::path dir_;
};

// Lines of a text.
inline std::vector<std::string> lines_of(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  for (char ch : s) {
    if (ch == '\n') {
      if (!cur.empty() && cur.back() == '\r') cur.pop_back();
      out.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(ch);
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

}  // namespace torva::pytest
