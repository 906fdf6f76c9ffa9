#include "model/messages.h"

#include <algorithm>

#include "io/textfile.h"
#include "model/model.h"

namespace torva {

namespace {
thread_local RowCapture* tl_capture = nullptr;
}

CaptureScope::CaptureScope(RowCapture& cap) : prev_(tl_capture) { tl_capture = &cap; }
CaptureScope::~CaptureScope() { tl_capture = prev_; }

RowCapture* active_capture() { return tl_capture; }

static void write_to(Model& m, unsigned dest, std::string_view line) {
  if (dest & TO_REPORT) m.REPORT.line(line);
  if (dest & TO_RUNLOG) m.RUNLOG.line(line);
  // A warning is the line that heads it.
  if ((dest & TO_RUNLOG) && line.find("WARNING") != std::string_view::npos) ++m.NWARNLOG;
  if (dest & TO_CASELOG) m.CASELOG.line(line);
  if (dest & TO_WARNSCR) m.WARNSCR.line(line);
  if (dest & TO_ECHO) m.ECHO.line(line);
  if (dest & TO_SUMMARY) m.SUMMARY.line(line);
}

void emit(Model& m, unsigned dest, std::string_view line) {
  if (RowCapture* c = tl_capture) {
    c->lines.emplace_back(dest, std::string(line));
    return;
  }
  write_to(m, dest, line);
}

void file_failed(Model& m, int& status, int code, const std::string& path, int err) {
  if (status != ST_OK && status != ST_STOP) {
    // A file cut short after the run's first failure is named beside it.
    const std::string shown = shown_path(path);
    const std::string line = shown + (err != 0 ? ": " + upper_reason(err) : std::string());
    if (code == ST_FILEWRITE && shown != m.ERRFILE &&
        std::find(m.ERRALSO.begin(), m.ERRALSO.end(), line) == m.ERRALSO.end())
      m.ERRALSO.push_back(line);
    return;
  }
  status = code;
  m.ERRFILE = shown_path(path);
  m.ERRREASON = err != 0 ? upper_reason(err) : std::string();
}

void count_warning(Model& m, WarnCount which) {
  RowCapture* c = tl_capture;
  switch (which) {
    case WC_BEAR: ++(c ? c->nwbear : m.NWBEAR); break;
    case WC_PULL: ++(c ? c->nwpull : m.NWPULL); break;
    case WC_TORS: ++(c ? c->nwtors : m.NWTORS); break;
  }
}

void replay(Model& m, const RowCapture& cap) {
  for (const auto& [dest, line] : cap.lines) write_to(m, dest, line);
  m.NWBEAR += cap.nwbear;
  m.NWPULL += cap.nwpull;
  m.NWTORS += cap.nwtors;
  if (!cap.error.empty() && m.ERRTEXT.empty()) m.ERRTEXT = cap.error;
}

int combine_status(const std::vector<RowCapture>& caps, int first, int last) {
  for (int i = first; i <= last && i < int(caps.size()); ++i)
    if (caps[std::size_t(i)].status != 0) return caps[std::size_t(i)].status;
  return 0;
}

int combine_istate(const std::vector<RowCapture>& caps, int first, int last) {
  int best = 0;
  bool any4 = false;
  for (int i = first; i <= last && i < int(caps.size()); ++i) {
    const int s = caps[std::size_t(i)].istate;
    if (s == 1) return 1;
    if (s == 4) any4 = true;
    else if (s > best) best = s;
  }
  return any4 ? 4 : best;
}

}  // namespace torva
