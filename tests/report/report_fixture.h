// A hand-filled 3-D model with two pile rows and stored results, and the report files
// the result writers use, in a temporary working directory.
#pragma once

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "input/units.h"
#include "model/model.h"
#include "support/workdir.h"

namespace torva::testing {

// Pile-top and node values of the fixture: signs and magnitudes from 1e-3 to 1e4, so both
// the fixed and the exponent forms of the reports appear.
inline double top_value(int g, int q) {
  const double sign = (q % 3 == 0) ? -1.0 : 1.0;
  return sign * (1.0 + 0.37 * q + g) * std::pow(10.0, q % 7 - 3);
}
inline double node_value(int g, int k, int q) {
  return std::sin(0.3 * k + q + 0.7 * g) * std::pow(10.0, q % 5 - 1);
}

struct ReportFixture {
  WorkDir dir;
  std::unique_ptr<Model> mp = new_model();
  Model& m = *mp;

  // Row 1: property 1, 10 segments of 5 ft; row 2: property 2, no segment (head only).
  explicit ReportFixture(int nrow = 2) {
    m.IUNITS = 1;
    SETUNITLAB(m, 1);
    SETCOLLAB(m, 3);
    m.NDIM = 3;
    m.NROW = nrow;
    m.NSEG(1) = 10;
    m.SEGLEN(1) = 60.0;
    m.NSEG(2) = 0;
    m.SEGLEN(2) = 48.0;
    m.IAXVAR = 1;
    m.ICASE = 1;
    m.ICOMB = 0;
    m.IPROPTE = 2;
    m.INODSTE = 1;
    m.IENVOUT(1) = 2;
    m.IENVOUT(2) = 2;
    m.IENVSEL(1) = 1;
    m.IENVSEL(2) = 1;
    for (int q = 1; q <= NNODEQ; ++q) {
      m.CASINT(1, 25 + q) = 1;
      m.CBINT(1, 15 + q) = 1;
      m.IPRLC(q) = 1;
      m.IPRCB(q) = 1;
    }
    for (int g = 1; g <= nrow; ++g) {
      m.PTYPE(g) = g <= 2 ? g : 1;
      m.LSNO(g) = 0;
      for (int q = 1; q <= NPILETOP; ++q) {
        const double v = q == 26 ? top_value(g, 13) : top_value(g, q);
        m.PRTOP(g, q) = v;
        m.EMNTOP(g, q) = v - 1.5;
        m.EMXTOP(g, q) = v + 2.5;
      }
      for (int k = 4; k <= MAXNODE; ++k)
        for (int q = 1; q <= NNODEQ; ++q) {
          const double v = node_value(g, k, q);
          m.PRNODE(g, k, q) = v;
          m.EMNNODE(g, k, q) = v - 0.25;
          m.EMXNODE(g, k, q) = v + 0.75;
        }
    }
    for (int i = 1; i <= 12; ++i) {
      m.EMNCAP(i) = -top_value(1, i);
      m.EMXCAP(i) = 10.0 * top_value(2, i);
    }
    m.FNAME[R_PILESCR] = "case.pls";
    m.REPORT.open_write("case.out");
    m.SUMMARY.open_write("case.sum");
    m.SUMSCR.open_write("case.sus");
    m.PLOTDATA.open_write("case.pld");
    m.CASELOG.open_write("case.cas");
  }

  // Closes the report files; the text of each is then read with `text`.
  void close() {
    for (TextFile* f : {&m.REPORT, &m.SUMMARY, &m.SUMSCR, &m.PLOTDATA, &m.CASELOG}) f->close();
  }
  std::string text(const std::string& ext) const { return dir.read("case" + ext); }
  std::vector<std::string> lines(const std::string& ext) const {
    std::vector<std::string> out;
    std::istringstream s(text(ext));
    for (std::string l; std::getline(s, l);) out.push_back(l);
    return out;
  }
};

}  // namespace torva::testing
