// Run driver, file set, end of run and timing reports.
#include "driver/runctl.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "cap/progress.h"
#include "echo/echo.h"
#include "input/freeread.h"
#include "input/inputcheck.h"
#include "input/readinput.h"
#include "io/fileset.h"
#include "io/platform.h"
#include "io/writers.h"
#include "soil/nosoil.h"

namespace torva {

void MAINRUN(Model& m, int& status, bool analyse) {
  run_frame(m, status, [analyse](Model& mm, int& st) {
    OPENFILES(mm, st);
    if (st == ST_OK) READINPUT(mm, st);
    mm.NTHMAX = platform::max_threads();
    mm.NTHUSE = 1;
    mm.NTHRUN = 1;
    if (st == ST_OK) CONVINPUT(mm);
    if (st == ST_OK) ECHOINPUT(mm, st);
    // The warnings about the model that the reading and the echo wrote, counted for the
    // host's last words.
    if (st == ST_OK && mm.NWARNLOG > 0)
      mm.RUNLOG.nl().A(kModelWarningsHead).I(mm.NWARNLOG, 5).nl();
    if (st == ST_OK && analyse) NOSOILCHK(mm, st);
    if (st == ST_OK && analyse) {
      const int mode = mm.IPYOUT;
      mm.IPYOUT = 0;
      mm.IOPASS = 0;
      ANALYZE(mm, mode, st);
    }
  });
}

void run_frame(Model& m, int& status, const std::function<void(Model&, int&)>& stages) {
  status = ST_OK;
  m.TCASE = platform::wall_seconds();
  m.TSTART = platform::wall_seconds();
  m.TPREV = m.TPAR = m.TSER = m.TPRT = 0.0;
  try {
    stages(m, status);
  } catch (const std::exception& e) {
    // An internal check failed: the run still ends in order, with the elapsed time and the
    // check's own message (file, line, text) on the run log.
    status = ST_INTERNAL;
    m.ERRTEXT = e.what();
  }
  m.TSTART = platform::wall_seconds() - m.TSTART;
  FINISH(m, status);
}

namespace {

// Reads "Names.dat" of the working directory. False when it is missing or short; `missing`
// is then the first line that is not there (0 when the list cannot be read).
bool read_names(Model& m, int& missing) {
  m.FILELIST = "Names.dat";
  missing = 0;
  TextFile list;
  if (!list.open_read("Names.dat")) return false;
  std::string line;
  missing = 1;
  if (!list.read_line(line)) return false;
  m.VERSTXT = std::string_view(line).substr(0, std::min<std::size_t>(12, line.size()));
  for (missing = 2; missing <= 4; ++missing)
    if (!list.read_line(line)) return false;
  for (int r = 0; r < NROLES; ++r, ++missing) {
    if (!list.read_line(line)) return false;
    m.FNAME[r] = std::string_view(line).substr(0, std::min<std::size_t>(256, line.size()));
  }
  missing = 0;
  return true;
}

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The files the list names, then the plate program's (see run_files).
std::vector<RunFile> named_files(const Model& m) {
  std::vector<std::string> names;
  for (int r = 0; r < NROLES; ++r) names.push_back(m.fname(FileRole(r)));
  return run_files(names, kRoleName, false);
}

// Whether the progress file is also another file of the run, one it reads or one of its
// results: a message that a refused run writes to it would write over that file.
bool progress_shared(const Model& m) {
  const std::vector<RunFile> set = named_files(m);
  const RunFile& progress = set[std::size_t(R_PROGRESS) + 1];  // after the list itself
  if (progress.name.empty()) return false;
  for (const RunFile& f : set)
    if (&f != &progress && !f.name.empty() && one_file_two_roles({progress, f}).first >= 0) return true;
  return false;
}

// Refuses the line of the list that should name the file of role `r` but holds `found`,
// with the input reader's message naming the list, the line and what it should hold. The message goes to the progress file, which the host reads, when that file is
// named; the run log is left as it is, like every file of a run that cannot start.
void names_line_refused(Model& m, int r, const std::string& found) {
  ReadError e;
  e.kind = ReadFail::unreadable;
  e.line = r + 5;
  e.field = "NAME OF THE " + upper(kRoleName[r]);
  e.found = found;
  e.expected = "the name of a file";
  std::string text = " - FILE-NAME LIST Names.dat IS MISSING OR INCOMPLETE";
  for (const std::string& l : read_error_lines(e, "FILE-NAME LIST: " + shown_path(std::string(m.FILELIST.trimmed()))))
    text += "\n" + l;
  bool exists = false;
  if (!m.fname(R_PROGRESS).empty() && !not_regular(m.fname(R_PROGRESS), exists) && !progress_shared(m))
    progress_message(m, {text, ""});
}

// Every role needs a name: a line of the list that is missing (the list ends before it),
// empty or holds only blanks (a name is taken without its trailing blanks) names no file.
// The first such line is refused before any file is opened. True when every role is named.
bool names_every_role(Model& m) {
  int missing = 0;
  const bool whole = read_names(m, missing);
  // A list that cannot be read names no role; one that ends early, the roles before its end.
  if (!whole && missing < 5) return false;
  const int read = whole ? NROLES : missing - 5;
  for (int r = 0; r < read; ++r) {
    if (!m.fname(FileRole(r)).empty()) continue;
    names_line_refused(m, r, "A BLANK LINE");
    return false;
  }
  // A list that ends before it names the progress file leaves the status alone to say it.
  if (!whole) names_line_refused(m, read, "THE END OF THE FILE");
  return whole;
}

// Why an existing file cannot serve the run (a folder, a FIFO or a device); empty for a
// regular file or a missing one.
std::string not_a_file(const std::string& name, bool& exists) {
  const char* kind = not_regular(name, exists);
  if (!kind) return {};
  return "IS A " + upper(kind) + ", NOT A REGULAR FILE";
}

// A file that stops the run before anything is emptied: its name and the reason.
void cannot_open(Model& m, int& status, const std::string& name, std::string reason) {
  m.ERRFILE = shown_path(name);
  m.ERRREASON = std::move(reason);
  status = ST_FILEOPEN;
}

}  // namespace

void OPENFILES(Model& m, int& status) {
  m.METHOD = 2;
  m.ITRANS = 1;
  if (!names_every_role(m)) {
    status = ST_NAMESDAT;
    return;
  }
  // One file in two roles would have the run write over its own input or over another of
  // its results: refused before any file is opened. A progress file that is one file with
  // another of the set (of this pair or any other) is not written either.
  const std::vector<RunFile> set = named_files(m);
  if (const auto [a, b] = one_file_two_roles(set); a >= 0) {
    const RunFile &first = set[std::size_t(a)], &second = set[std::size_t(b)];
    auto named = [](const RunFile& f) {
      return "THE " + upper(f.role) + (f.line > 0 ? " (Names.dat LINE " + std::to_string(f.line) + ")" : "");
    };
    if (progress_shared(m)) m.FNAME[R_PROGRESS] = "";
    return cannot_open(m, status, second.name,
                       "NAMED AS " + named(first) + " AND AS " + named(second) +
                           ": ONE FILE CANNOT SERVE TWO ROLES");
  }
  // Every file the run reads is checked before any file is emptied: it exists, is a
  // regular file and can be read. The moment-curvature listing is created empty when
  // missing (below, with the written files).
  bool exists = false;
  for (FileRole r : {R_INPUT, R_MPHILIST}) {
    const std::string name = m.fname(r);
    if (std::string why = not_a_file(name, exists); !why.empty())
      return cannot_open(m, status, name, why);
    if (!exists && r == R_MPHILIST) continue;
    TextFile& f = r == R_INPUT ? m.INPUT : m.MPHILIST;
    if (!f.open_read(name)) {
      const int err = errno;
      m.INPUT.close();
      return cannot_open(m, status, name, upper_reason(err));
    }
  }
  // Every file the run writes, also those opened later in the run; the progress and
  // stop-request files are shared with the host and are never emptied here.
  struct Out {
    TextFile* f;  // null: emptied here, opened by its writer later in the run
    FileRole r;
  };
  const Out outs[] = {{&m.ECHO, R_ECHO},           {&m.REPORT, R_REPORT},
                      {&m.SUMMARY, R_SUMMARY},     {&m.PLOTOUT, R_PLOTOUT},
                      {&m.RUNLOG, R_RUNLOG},       {&m.CASELOG, R_CASELOG},
                      {&m.PLOTDATA, R_PLOTDATA},   {&m.GENCURVES, R_GENCURVES},
                      {&m.SOLVTRACE, R_SOLVTRACE}, {&m.LSDETAIL, R_LSDETAIL},
                      {&m.STIFTRACE, R_STIFTRACE}, {&m.SUMSCR, R_SUMSCR},
                      {nullptr, R_ESTREC1},        {nullptr, R_ESTREC2},
                      {nullptr, R_PILESCR},        {nullptr, R_STATEFILE},
                      {nullptr, R_KMATLOG},        {nullptr, R_WARNSCR},
                      {nullptr, R_CURVEDATA}};
  std::string failed, reason;
  auto refuse = [&](const std::string& name, std::string why) {
    if (failed.empty()) failed = name, reason = std::move(why);
  };
  for (FileRole r : {R_PROGRESS, R_STOPREQ})
    if (std::string why = not_a_file(m.fname(r), exists); !why.empty()) refuse(m.fname(r), why);
  for (const Out& o : outs)
    if (std::string why = not_a_file(m.fname(o.r), exists); !why.empty())
      refuse(m.fname(o.r), why);
  // The plate program's files of an earlier run are removed at the start of every run
  // (emptied where they cannot be removed): none is left beside this run's reports. Each that
  // exists must be a file this run could write.
  std::vector<std::pair<std::string, int>> plate;
  for (const RunFile& f : set) {
    if (f.line > 0 || !f.written || !failed.empty()) continue;
    if (std::string why = not_a_file(f.name, exists); !why.empty()) {
      refuse(f.name, why);
    } else if (exists) {
      const int fd = ::open(f.name.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd < 0) refuse(f.name, upper_reason(errno));
      plate.emplace_back(f.name, fd);
    }
  }
  // Nothing is emptied unless the whole run can start: each report and work file is
  // first opened without changing it, and the run ends untouched at the first that fails
  // (the files this check created are removed again).
  constexpr std::size_t nout = std::size(outs);
  int fds[nout];
  std::fill(fds, fds + nout, -1);
  std::vector<std::string> created;
  for (std::size_t i = 0; i < nout && failed.empty(); ++i) {
    const std::string name = m.fname(outs[i].r);
    bool made = false;
    fds[i] = open_unchanged(name, made);
    if (fds[i] < 0) refuse(name, upper_reason(errno));
    if (made) created.push_back(name);
  }
  if (failed.empty() && !m.MPHILIST.is_open()) {
    // The moment-curvature listing is the host's: read it, never empty it.
    const std::string name = m.fname(R_MPHILIST);
    bool made = false;
    const int fd = open_unchanged(name, made);
    if (fd < 0) {
      refuse(name, upper_reason(errno));
    } else {
      ::close(fd);
      if (made) created.push_back(name);
      if (!m.MPHILIST.open_read(name)) refuse(name, upper_reason(errno));
    }
  }
  if (!failed.empty()) {
    for (const int fd : fds)
      if (fd >= 0) ::close(fd);
    for (const auto& [name, fd] : plate)
      if (fd >= 0) ::close(fd);
    for (const std::string& f : created) std::remove(f.c_str());
    m.INPUT.close();
    m.MPHILIST.close();
    return cannot_open(m, status, failed, reason);
  }
  for (std::size_t i = 0; i < nout; ++i) {
    const std::string name = m.fname(outs[i].r);
    if (outs[i].f) {
      if (!outs[i].f->open_write(name, fds[i])) refuse(name, upper_reason(errno));
    } else if (std::FILE* fp = rewrite_stream(fds[i], name)) {
      std::fclose(fp);  // emptied: no file of the set keeps an earlier run's content
    } else {
      refuse(name, upper_reason(errno));
    }
  }
  for (const auto& [name, fd] : plate) {
    if (::unlink(name.c_str()) != 0 && ::ftruncate(fd, 0) != 0) refuse(name, upper_reason(errno));
    ::close(fd);
  }
  if (!failed.empty()) return cannot_open(m, status, failed, reason);
  // The run log says how far the run got, whatever ends it.
  m.RUNLOG.line_buffered();
  m.PROGRESS.open(m.fname(R_PROGRESS));
  progress_message(m, {" - ANALYSIS STARTED", ""});
  if (stop_requested(m)) status = ST_STOP;
}

void status_lines(int status, std::string out[4], int& n) {
  n = 0;
  auto add = [&](const char* s) { out[n++] = s; };
  const char* err = "    * ERROR IN ANALYSIS *";
  const char* beyond = "    CURRENT DEPTH IS BEYOND THE EXTENT";
  switch (status) {
    case ST_OK: add("    ANALYSIS COMPLETED"); return;
    case ST_PILEDEEP:
    case ST_PILEDEEP2D:
      add(err);
      add("    PILE LENGTH EXTENDS BELOW THE BOTTOM");
      add(status == ST_PILEDEEP ? "    OF THE DEEPEST LAYER, NODE" : "    OF THE DEEPEST LAYER, NODE2D");
      return;
    case ST_STOP: add("     *** ANALYSIS STOPPED BY USER ***"); return;
    case ST_ROCKQU0: add(err); add("    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"); return;
    case ST_DEPGAMMA: add(err); add(beyond); add("    OF INPUT CURVE FOR UNIT WEIGHT"); return;
    case ST_DEPCOHES: add(err); add(beyond); add("    OF INPUT CURVE FOR COHESION"); return;
    case ST_DEPPHI:
    case ST_DEPBPHI: add(err); add(beyond); add("    OF INPUT CURVE FOR FRICTION ANGLE"); return;
    case ST_DEPSIDEF: add(err); add(beyond); add("    OF INPUT CURVE FOR SIDE FRICTION"); return;
    case ST_DEPSIDER: add(err); add(beyond); add("    OF INPUT CURVE FOR SIDE RESISTANCE"); return;
    case ST_SILTPHI0: add(err); add("    SILT, THE FRICTION ANGLE IS ZERO"); return;
    case ST_SILTSLOPE: add(err); add("    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"); return;
    case ST_SANDPHI0: add(err); add("    SAND, THE FRICTION ANGLE IS ZERO"); return;
    case ST_LSE50: add(err); add("     LS CURVE, E50 VALUE IS ZERO"); return;
    case ST_LSCOHES: add(err); add("      LS CURVE, COHESION VALUE IS ZERO"); return;
    case ST_TRE50: add(err); add("     TORQUE CURVE, E50 VALUE IS ZERO"); return;
    case ST_TRCOHES: add(err); add("     TORQUE CURVE, COHESION VALUE IS ZERO"); return;
    case ST_NAMESDAT: add(err); add("    FILE-NAME LIST Names.dat IS MISSING OR INCOMPLETE"); return;
    case ST_FILEOPEN: add(err); add("    A FILE OF THE RUN CANNOT BE OPENED"); return;
    case ST_FILEWRITE: add(err); add("    A FILE OF THE RUN CANNOT BE WRITTEN"); return;
    case ST_INPUTREAD: add(err); add("    INPUT DATA FILE CANNOT BE READ"); return;
    case ST_INPUTCHECK: add(err); add("    INVALID INPUT DATA"); return;
    case ST_INTERNAL: add(err); add("    INTERNAL ERROR OF THE ENGINE"); return;
    case ST_NOTBUILT: add(err); add("    OPTION NOT AVAILABLE IN THIS ENGINE"); return;
    case ST_FEMODEL: add(err); add("    PLATE MODEL OF THE CAP IS MISSING OR INVALID"); return;
    case ST_FESOLVE: add(err); add("    PLATE MODEL OF THE CAP CANNOT BE SOLVED"); return;
    case ST_NOSOIL:
      add(err);
      add("    NO SOIL LAYERS DEFINED FOR A CURVE");
      add("    TO BE GENERATED FROM THE SOIL");
      return;
    default: {
      add(err);
      out[n++] = "    " + std::to_string(status) + ", UNKNOWN CODE";
      return;
    }
  }
}

namespace {

void exec_time_line(TextFile& f, double t) {
  const long long s = static_cast<long long>(t);
  const long long ms = static_cast<long long>((t - double(s)) * 1000.0);
  f.A("     Execution Time    :");
  if (t < 1.0) {
    f.I(static_cast<long long>(t * 1000.0), 5).A(" ms");
  } else if (t < 60.0) {
    f.I(s, 5).A(" sec").I(ms, 5).A(" ms");
  } else if (t < 3600.0) {
    f.I(s / 60, 5).A(" min").I(s % 60, 5).A(" sec").I(ms, 5).A(" ms");
  } else {
    f.I(s / 3600, 8).A(" hr").I(s / 60 - 60 * (s / 3600), 5).A(" min").I(s % 60, 5).A(" sec");
    f.I(ms, 5).A(" ms");
  }
  f.nl();
}

}  // namespace

void WRTIME(Model& m) {
  exec_time_line(m.RUNLOG, m.TSTART);
  m.RUNLOG.A("     Number Processors :").I(m.NTHRUN, 3).A("/").I(m.NTHMAX, 2).nl();
}

void WRTIMEX(Model& m) {
  exec_time_line(m.RUNLOG, m.TCASE);
  m.RUNLOG.A("     Number Processors :").I(m.NTHUSE, 3).A("/").I(m.NTHMAX, 2).nl();
  m.TSER = m.TCASE - m.TPAR - m.TPRT;
  m.RUNLOG.A("     Serial processing :").F(m.TSER, 10, 3).A(" sec").nl();
  m.RUNLOG.A("     Paral. processing :").F(m.TPAR, 10, 3).A(" sec").nl();
  m.RUNLOG.A("     Print. processing :").F(m.TPRT, 10, 3).A(" sec").nl();
}

namespace {

// The last lines of the run log: every analysis that did not complete in full, so that a
// run of status 0 is not taken for full results (the host reads this list).
void incomplete_list(Model& m) {
  if (m.INCOMPLETE.empty()) return;
  m.RUNLOG.nl().A(kIncompleteHead).I(static_cast<long long>(m.INCOMPLETE.size()), 5).nl();
  for (const std::string& l : m.INCOMPLETE) m.RUNLOG.line(l);
  m.RUNLOG.flush();
}

}  // namespace

namespace {

// Every file the run writes except the run log, with its role.
struct WrittenFile {
  TextFile* text;
  RecFile* rec;
  FileRole role;
};

std::vector<WrittenFile> written_files(Model& m) {
  return {{&m.REPORT, nullptr, R_REPORT},       {&m.ECHO, nullptr, R_ECHO},
          {&m.SUMMARY, nullptr, R_SUMMARY},     {&m.PLOTOUT, nullptr, R_PLOTOUT},
          {&m.CASELOG, nullptr, R_CASELOG},     {&m.PLOTDATA, nullptr, R_PLOTDATA},
          {&m.GENCURVES, nullptr, R_GENCURVES}, {&m.SOLVTRACE, nullptr, R_SOLVTRACE},
          {&m.LSDETAIL, nullptr, R_LSDETAIL},   {&m.CURVEDATA, nullptr, R_CURVEDATA},
          {nullptr, &m.CURVEREC, R_CURVEDATA},  {&m.STIFTRACE, nullptr, R_STIFTRACE},
          {&m.SUMSCR, nullptr, R_SUMSCR},       {&m.KMATLOG, nullptr, R_KMATLOG},
          {&m.WARNSCR, nullptr, R_WARNSCR},     {&m.PILESCR, nullptr, R_PILESCR},
          {&m.STATEFILE, nullptr, R_STATEFILE}, {&m.ESTREC1, nullptr, R_ESTREC1},
          {&m.ESTREC2, nullptr, R_ESTREC2}};
}

// A file of the run's own set that cannot be written in full (see file_failed).
void write_failed(Model& m, int& status, FileRole role, int err) {
  file_failed(m, status, ST_FILEWRITE, m.fname(role), err);
}

bool check_file(Model& m, int& status, const WrittenFile& w, bool close) {
  bool failed = false;
  int err = 0;
  if (w.text) {
    if (close) w.text->close(); else w.text->flush_checked();
    failed = w.text->write_failed();
    err = w.text->write_errno();
  } else {
    if (close) w.rec->close(); else w.rec->flush_checked();
    failed = w.rec->write_failed();
    err = w.rec->write_errno();
  }
  if (failed) write_failed(m, status, w.role, err);
  return !failed;
}

}  // namespace

bool check_writes(Model& m, int& status) {
  bool ok = true;
  for (const WrittenFile& w : written_files(m)) ok = check_file(m, status, w, false) && ok;
  if (!m.RUNLOG.flush_checked()) {
    write_failed(m, status, R_RUNLOG, m.RUNLOG.write_errno());
    ok = false;
  }
  return ok;
}

namespace {

// The lines that end the run log for `status` (without their leading blank): the status
// lines, then the file that failed and why, or what failed where the code alone does not
// say it.
std::vector<std::string> end_lines(const Model& m, int status) {
  std::string lines[4];
  int n = 0;
  status_lines(status, lines, n);
  std::vector<std::string> out(lines, lines + n);
  if ((status == ST_FILEOPEN || status == ST_FILEWRITE) && !m.ERRFILE.empty())
    out.push_back("    " + m.ERRFILE + (m.ERRREASON.empty() ? "" : ": " + m.ERRREASON));
  if ((status == ST_INTERNAL || status == ST_FEMODEL || status == ST_FESOLVE) && !m.ERRTEXT.empty())
    out.push_back("    " + m.ERRTEXT);
  return out;
}

// Every file the run writes that could not be written in full besides the one that the
// run's status names: its path and the system's reason, each once.
std::vector<std::string> also_failed(Model& m) {
  std::vector<std::string> out;
  auto add = [&](FileRole r, int err) {
    const std::string path = shown_path(m.fname(r));
    const std::string line = path + (err != 0 ? ": " + upper_reason(err) : "");
    if (path != m.ERRFILE && std::find(out.begin(), out.end(), line) == out.end()) out.push_back(line);
  };
  // The run log first: the host needs it most, and a progress file under a size limit may
  // not hold every line.
  if (m.RUNLOG.write_failed()) add(R_RUNLOG, m.RUNLOG.write_errno());
  for (const std::string& l : m.ERRALSO)
    if (std::find(out.begin(), out.end(), l) == out.end()) out.push_back(l);
  for (const WrittenFile& w : written_files(m)) {
    if (w.text && w.text->write_failed()) add(w.role, w.text->write_errno());
    if (w.rec && w.rec->write_failed()) add(w.role, w.rec->write_errno());
  }
  return out;
}

constexpr std::string_view kAlsoFailed = "ALSO NOT WRITTEN IN FULL: ";

// The files of `also` ("path: REASON") as progress lines, one per reason with the files'
// names in the working folder: short enough for a progress file that a file-size limit
// holds to a few lines.
std::string also_by_reason(const std::vector<std::string>& also) {
  const std::string here = shown_path(".");
  std::vector<std::pair<std::string, std::string>> groups;  // reason, names
  for (const std::string& l : also) {
    const std::size_t cut = l.rfind(": ");
    const std::string reason = cut == std::string::npos ? std::string() : l.substr(cut + 2);
    std::string name = l.substr(0, cut);
    if (name.rfind(here, 0) == 0 && name.size() > here.size()) name.erase(0, here.size());
    auto g = std::find_if(groups.begin(), groups.end(), [&](const auto& x) { return x.first == reason; });
    if (g == groups.end()) {
      groups.emplace_back(reason, name);
    } else {
      g->second += ", " + name;
    }
  }
  std::string text;
  for (const auto& [reason, names] : groups)
    text += "\n - ALSO NOT WRITTEN IN FULL" + (reason.empty() ? "" : " (" + reason + ")") + ": " + names;
  return text;
}

}  // namespace

void FINISH(Model& m, int& status) {
  // The reports are ended and closed first, each write and close checked, so that the run
  // log's last lines give the run's true status. What the files hold so far is sent to them
  // first: a file that could not take it already changes the status that ends the reports.
  check_writes(m, status);
  if (status == ST_STOP) {
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      f->free("     ");
      f->free("     *** ANALYSIS STOPPED BY USER ***");
    }
  } else if (status != ST_OK) {
    // A run ended by an error: the results and summary reports end with it, as the run log
    // does, so that neither reads as the report of a whole run.
    const std::vector<std::string> end = end_lines(m, status);
    for (TextFile* f : {&m.REPORT, &m.SUMMARY}) {
      if (!f->is_open()) continue;
      f->free("    ");
      for (const std::string& l : end) f->free(l);
    }
  }
  if (m.SUMMARY.is_open()) {
    m.SUMSCR.close();
    for (int i = 0; i < 4; ++i) m.SUMMARY.nl();
    m.SUMMARY.X(17).A("*****").X(5).A("SUMMARY FOR LOAD CASES AND COMBINATIONS ").X(5).A("*****").nl();
    // The summary gathered during the run is copied whole, line by line.
    if (m.SUMSCR.open_read(m.fname(R_SUMSCR))) {
      std::string line;
      while (m.SUMSCR.read_line(line)) {
        std::size_t k = line.size();
        while (k > 0 && line[k - 1] == ' ') --k;
        m.SUMMARY.A(k == 0 ? std::string_view(" ") : std::string_view(line).substr(0, k));
        ENDLINE(m.SUMMARY);
      }
    }
  }
  m.INPUT.close();
  m.MPHILIST.close();
  for (const WrittenFile& w : written_files(m)) check_file(m, status, w, true);
  if (m.RUNLOG.is_open()) m.RUNLOG.flush_checked();
  if (m.RUNLOG.write_failed()) write_failed(m, status, R_RUNLOG, m.RUNLOG.write_errno());

  const std::vector<std::string> end = end_lines(m, status);
  if (m.RUNLOG.is_open()) {
    m.RUNLOG.free("    ");
    for (const std::string& l : end) m.RUNLOG.free(l);
    for (const std::string& l : also_failed(m)) m.RUNLOG.free("    " + std::string(kAlsoFailed) + l);
    m.RUNLOG.flush();
    WRTIME(m);
    incomplete_list(m);
    m.RUNLOG.close();
    if (m.RUNLOG.write_failed()) write_failed(m, status, R_RUNLOG, m.RUNLOG.write_errno());
  }
  // The host reads the file that failed from the progress file, and every other file that
  // could not be written in full: the run log may be one of them, or may not exist yet.
  bool progress_exists = false;
  if ((status == ST_FILEOPEN || status == ST_FILEWRITE) && !m.ERRFILE.empty() &&
      not_a_file(m.fname(R_PROGRESS), progress_exists).empty()) {
    const std::string head = end_lines(m, status)[1];
    std::string text = " - " + head.substr(head.find_first_not_of(' ')) + ": " + m.ERRFILE +
                       (m.ERRREASON.empty() ? "" : ": " + m.ERRREASON);
    text += also_by_reason(also_failed(m));
    progress_message(m, {text, ""});
  }
  m.PROGRESS.close();
}

}  // namespace torva
