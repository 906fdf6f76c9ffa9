// READINPUT: the report heading, the file list and the date block, then the input data
// file from its two title lines to its last section, into the as-read tables.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "input/inputcheck.h"
#include "input/readinput.h"
#include "input/readinput_parts.h"
#include "input/units.h"
#include "io/platform.h"
#include "model/messages.h"

namespace torva {

namespace {

const std::string kRuleEq(73, '=');
const std::string kRuleDash(73, '-');
constexpr const char* kMonth[12] = {"January", "February", "March",     "April",
                                    "May",     "June",     "July",      "August",
                                    "September", "October", "November", "December"};

void write_heading(const Model& m, TextFile& f) {
  f.X(5).A(kRuleEq).nl();
  f.nl();
  f.X(20).A("  TORVA for Windows, Version ").A(m.VERSTXT.view()).nl();
  f.nl();
  f.X(20).A("  Analysis of Pile Groups with a Rigid Cap").nl();
  f.X(20).A("  under Axial, Lateral and Torsional Loading").nl();
  f.nl();
  f.X(5).A(kRuleEq).nl();
  f.nl();
  f.nl();
}

std::string trim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

std::string name_ext(const std::string& path) {
  const platform::PathParts p = platform::split_path(path);
  return trim(p.name) + trim(p.ext);
}

void write_file_list(const Model& m, TextFile& f) {
  platform::PathParts p = platform::split_path(m.fname(R_INPUT));
  const std::string drive = trim(p.drive.substr(0, 3));
  const std::string dir = trim(p.dir.substr(0, 256));
  const std::string name = trim(p.name.substr(0, 256)) + trim(p.ext.substr(0, 6));
  f.X(5).A("Path to file locations      : ").A(drive + dir).nl();
  f.X(5).A("Name of input data file     : ").A(name).nl();
  f.X(5).A("Name of output echo file    : ").A(name_ext(m.fname(R_ECHO))).nl();
  f.X(5).A("Name of output results file : ").A(name_ext(m.fname(R_REPORT))).nl();
  f.X(5).A("Name of output summary file : ").A(name_ext(m.fname(R_SUMMARY))).nl();
  f.X(5).A("Name of plot output file    : ").A(name_ext(m.fname(R_PLOTOUT))).nl();
  f.X(5).A("Name of runtime file        : ").A(name_ext(m.fname(R_RUNLOG))).nl();
  f.nl();
  f.nl();
}

std::string two(int v) {
  std::string s = std::to_string(v < 0 ? 0 : v % 100);
  return s.size() < 2 ? "0" + s : s;
}

// The control record (section 2) and what follows from it.
void read_control(Model& m, FreeReader& rd, int& status) {
  if (!read_title(m, rd, "CONTROL")) return;
  int spare = 0;
  rd.rec()
      .i(m.IUNITS, "IUNITS")
      .i(m.NDIM, "NDIM")
      .i(m.ICAPOPT, "ICAPOPT")
      .i(m.IFEOPT, "IFEOPT")
      .i(m.IPYUSER, "IPYUSER")
      .i(m.IUSRLS, "IUSRLS")
      .i(m.ITRUSER, "ITRUSER")
      .i(m.IREDFAC, "IREDFAC")
      .i(m.NMPHI, "NMPHI")
      .i(m.IAXFAC, "IAXFAC")
      .i(m.IPYOUT, "IPYOUT")
      .i(spare, "control item 12")
      .i(m.IAVGDIA, "IAVGDIA")
      .i(m.IBATTER, "IBATTER")
      .i(m.IGENCRV, "IGENCRV")
      .i(m.IEXTEND, "IEXTEND")
      .i(m.IPYMOD, "IPYMOD")
      .i(m.ISMOVE, "ISMOVE")
      .i(m.IPLTPASS, "IPLTPASS")
      .i(m.IPLTUNF, "IPLTUNF");
  if (!rd.ok()) return;
  // The dimension selects the form of every later row record: any other value would
  // shift the rest of the file, so it is refused here.
  if (m.NDIM != 2 && m.NDIM != 3) {
    rd.invalid("NDIM", std::to_string(m.NDIM), "2 (2-D MODEL) OR 3 (3-D MODEL)");
    return;
  }
  m.REDMOVY = 1.0;
  m.REDMOVZ = 1.0;
  if (m.IREDFAC == 3) rd.rec().r(m.REDMOVY, "REDMOVY").r(m.REDMOVZ, "REDMOVZ");
  m.NPTTZPL = 19;
  const bool opened = m.IPLTUNF != 0 ? m.CURVEREC.open_write(m.fname(R_CURVEDATA))
                                     : m.CURVEDATA.open_write(m.fname(R_CURVEDATA));
  if (!opened) {
    file_failed(m, status, ST_FILEOPEN, m.fname(R_CURVEDATA), errno);
    return;
  }
  SETUNITLAB(m, m.IUNITS == 2 ? -1 : (m.IUNITS == 1 ? 1 : 0));
  SETCOLLAB(m, m.NDIM);
  m.ISTFOP = 1;
}

// The pile-cap section (section 3).
void read_cap(Model& m, FreeReader& rd) {
  if (!read_title(m, rd, "PILE CAP")) return;
  double unused = 0.0;
  int legacy = 0;
  rd.rec()
      .r(m.CAPLEN, "CAPLEN", true)
      .r(m.CAPWID, "CAPWID", true)
      .r(m.CAPTHK, "CAPTHK", true)
      .r(m.CAPDEQ, "CAPDEQ", true)
      .r(unused, "cap value 5")
      .i(legacy, "legacy switch");
  if (legacy == 1) {
    // A legacy list, read and discarded: a count, then groups of a count and that many
    // one-value records. Each record takes a line, so the end of the file ends the loops.
    int n = 0;
    rd.rec().i(n, "legacy count");
    for (int k = 1; k <= n && rd.ok(); ++k) {
      int cnt = 0;
      rd.rec().i(cnt, Fid("legacy group count", k));
      for (int j = 1; j <= cnt && rd.ok(); ++j) {
        double v = 0.0;
        rd.rec().r(v, Fid("legacy value", k, j));
      }
    }
  }
  m.ICAPSPR = 0;
  if (m.ICAPOPT > 1) {
    rd.rec()
        .i(m.ICAPSPR, "ICAPSPR")
        .i(m.ICAPMOD, "ICAPMOD")
        .i(m.NCAPINC, "NCAPINC")
        .r(m.CAPK50, "CAPK50")
        .r(m.CAPFULT, "CAPFULT")
        .r(m.CAPYMAX, "CAPYMAX");
  }
  if (m.IFEOPT > 0) {
    rd.rec()
        .r(m.FEXOFF, "FEXOFF")
        .r(m.FEYOFF, "FEYOFF")
        .i(m.FENX, "FENX")
        .i(m.FENY, "FENY")
        .r(m.FEEMOD, "FEEMOD")
        .r(m.FEPOIS, "FEPOIS");
  }
}

}  // namespace

// The reader's warnings so far, to the run log.
void write_warnings(Model& m, FreeReader& rd) {
  for (std::string& w : rd.take_warnings()) {
    m.RUNLOG.line(w);
    m.INWARN.push_back(std::move(w));
  }
}

bool read_title(Model& m, FreeReader& rd, const char* section) {
  rd.section(section);
  std::string t;
  const bool read = rd.fixed_line(t, "section title");
  write_warnings(m, rd);
  if (!read) return false;
  if (!rd.title(t)) {
    // A blank line in the title's place: most often one left before the section, which
    // moves every record of the file by one line.
    std::string w = "     ** WARNING ** LINE " + std::to_string(rd.line_no()) +
                    " IS EMPTY WHERE THE TITLE OF THE SECTION " + section +
                    " IS READ: A BLANK LINE BEFORE A SECTION MOVES THE FILE BY ONE LINE";
    m.RUNLOG.line(w);
    m.INWARN.push_back(std::move(w));
  }
  Chars<80> c;
  c = t;
  m.RUNLOG.X(5).A("READING ").A(c.view()).nl();
  m.RUNLOG.flush();
  return true;
}

bool within(FreeReader& rd, int& n, const Fid& f, int lo, int hi) {
  if (!rd.ok()) return false;
  if (lo == 0 && n < 0) n = 0;
  if (n < lo || n > hi) {
    rd.invalid(f, std::to_string(n), std::to_string(lo) + " TO " + std::to_string(hi));
    n = 0;
    return false;
  }
  return true;
}

bool ascending(FreeReader& rd, double v, double prev, const Fid& f, const char* what,
               bool strict) {
  if (!rd.ok()) return false;
  if (strict ? v > prev : v >= prev) return true;
  rd.invalid(f, real_text(v),
             (strict ? "ABOVE " + real_text(prev) : real_text(prev) + " OR MORE") + " (" + what +
                 " IN ASCENDING ORDER)");
  return false;
}

void WRDATE(Model& m) {
  const platform::DateTime d = platform::now();
  const int mi = (d.month >= 1 && d.month <= 12) ? d.month - 1 : 0;
  std::string date = std::string("Date:  ") + kMonth[mi] + " " + two(d.day) + ", " +
                     std::to_string(d.year) + "     Time:  " + two(d.hour) + ":" +
                     two(d.minute) + ":" + two(d.second);
  for (TextFile* f : {&m.RUNLOG, &m.PLOTDATA, &m.REPORT, &m.SUMMARY, &m.ECHO}) {
    f->X(5).A(kRuleDash).nl();
    f->X(26).A("Time and Date of Analysis").nl();
    f->X(5).A(kRuleDash).nl();
    f->nl();
    f->X(15).A(date).nl();
  }
}

void read_input_file(Model& m, LineSource& src, int& status) {
  FreeReader rd(src);
  std::string t;
  if (rd.fixed_line(t, "TITLE1")) m.TITLE1 = t;
  if (rd.fixed_line(t, "TITLE2")) m.TITLE2 = t;
  if (rd.ok()) {
    m.RUNLOG.nl();
    m.RUNLOG.X(12).A(m.TITLE1.view()).nl();
    m.RUNLOG.nl();
    m.RUNLOG.nl();
    m.RUNLOG.line("     READING * TITLE AND VERSION");
    read_control(m, rd, status);
  }
  if (status != ST_OK) return;
  if (rd.ok()) read_cap(m, rd);
  if (rd.ok()) read_loads(m, rd);
  if (rd.ok()) read_piles(m, rd);
  if (rd.ok()) read_options(m, rd);
  rd.end();
  write_warnings(m, rd);
  if (!rd.ok()) {
    report_input_error(m, rd.error());
    status = rd.error().kind == ReadFail::invalid ? ST_INPUTCHECK : ST_INPUTREAD;
    return;
  }
  INPUTCHECK(m, rd, status);
}

void READINPUT(Model& m, int& status) {
  // Report heading, file list and date block.
  write_heading(m, m.SUMMARY);
  m.RUNLOG.nl();
  m.RUNLOG.X(10).A("  TORVA for Windows, Version ").A(m.VERSTXT.view()).nl();
  m.RUNLOG.nl();
  m.RUNLOG.flush();
  for (TextFile* f : {&m.REPORT, &m.PLOTDATA, &m.ECHO}) {
    write_heading(m, *f);
    write_file_list(m, *f);
  }
  WRDATE(m);
  m.PLOTDATA.nl();

  // Constants and initial values.
  m.PI = double(3.14159f);
  m.SMALL = 1.0E-14;
  m.TOLCRV = 1.0E-6;
  m.TOLDEP = 1.0E-5;
  m.ENDWRD = "END ";
  m.REDMOVY = 1.0;
  m.REDMOVZ = 1.0;
  m.ISTFOP = 1;
  m.NPTTZPL = 19;
  m.NSMPT = 0;

  FileLines src(m.INPUT);
  read_input_file(m, src, status);
  // A warning changes what the run analyses (a value read from the line after the one
  // meant): its count ends the reading on the run log, where the host finds it, and the
  // warnings follow the results report's heading.
  if (!m.INWARN.empty()) {
    for (TextFile* f : {&m.RUNLOG, &m.REPORT}) {
      f->nl().A(kInputWarningsHead).I(static_cast<long long>(m.INWARN.size()), 5).nl();
      if (f == &m.REPORT)
        for (const std::string& w : m.INWARN) f->line(w);
    }
    m.RUNLOG.flush();
  }

  // The p- and y-multipliers start at one for the rows of the input and the cap's pseudo
  // row after them (not over the tables' capacity).
  const int rows = std::clamp(std::max(m.NROW2, m.NROW3) + 1, 1, MAXROWP);
  for (int g = 1; g <= rows; ++g) {
    m.PMULT(g) = m.YMULT(g) = 1.0;
    m.PMULTY(g) = m.YMULTY(g) = 1.0;
    m.PMULTZ(g) = m.YMULTZ(g) = 1.0;
  }
}

}  // namespace torva
