// Sequential text files with a current line: the engine's reports, logs and work files.
//
// A writer appends fields to the open line (`cur`) and ends it with `nl()`. Reading is by
// whole lines (LF or CRLF), with the line number kept for error messages. Every failure
// is recorded in the object and never ends the process.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "io/fmt.h"

namespace torva {

// Opens a file for writing from its start, emptied (created when missing). An existing
// file is cut to length zero before anything is written: a run that ends at any moment,
// killed included, leaves each of its files holding a beginning of the new content and
// never an earlier run's content beneath it, nor a gap of zero bytes. Null when it cannot
// be opened.
std::FILE* open_rewrite(const std::string& path);
// The two halves of open_rewrite, for a caller that checks a set of files before it
// empties any: open_unchanged opens for writing without changing the file (created when
// missing, `created` telling so; -1 when it cannot be opened), rewrite_stream empties a
// file so opened and gives its stream (null on failure, the descriptor then closed).
int open_unchanged(const std::string& path, bool& created);
std::FILE* rewrite_stream(int fd, const std::string& path);
// What an existing path is when it is not a regular file: "folder", "FIFO" or "device"
// (none of them serves as a file of a run: a FIFO blocks, a device is read without end or
// swallows what is written). Null for a regular file or a missing path; `exists` tells.
const char* not_regular(const std::string& path, bool& exists);
// Writes a whole small file in one write over its start, then cuts it to that length (a
// reader of its first line, such as a progress display, never sees it empty); false when
// any part of it failed, with errno set.
bool rewrite_file(const std::string& path, std::string_view text);
// A small file that is written whole again and again through one descriptor, held open
// from `open` to `close`: each `rewrite` replaces its content as rewrite_file does. A reader
// that holds the same file open finds the latest content even when the file's name, or its
// folder, is removed meanwhile.
class HeldFile {
 public:
  HeldFile() = default;
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { close(); }
  bool open(const std::string& path);  // for writing, created when missing, not emptied
  bool is_open() const { return fd_ >= 0; }
  bool rewrite(std::string_view text) const;  // false (errno set) when any part failed
  void close();

 private:
  int fd_ = -1;
};
// A file's path as the run's messages show it: from the root, normalised (the name as
// given when it cannot be made so).
std::string shown_path(const std::string& name);
// The system's reason of a failed file operation (an errno value), in capitals as the
// run's messages give it.
std::string upper_reason(int err);

class TextFile {
 public:
  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile() { close(); }

  // Opens for writing at the start, emptying the file. False when it cannot be opened.
  bool open_write(const std::string& path);
  // The same for a file already opened by open_unchanged (the descriptor is taken over).
  bool open_write(const std::string& path, int fd);
  // Opens for writing at the end (created when missing).
  bool open_append(const std::string& path);
  // Opens for reading from the start. False when missing or unreadable.
  bool open_read(const std::string& path);
  // Lines collect in memory instead of a file (taken with take_text), so that a writer can
  // build its lines apart, e.g. one thread per output stream, and the caller writes them
  // to the file in a fixed order.
  void open_memory();
  std::string take_text();
  // Writes text made of whole lines (each ending in a line end) as it stands.
  void write_text(std::string_view text);
  void close();
  bool is_open() const { return fp_ != nullptr || memory_; }
  const std::string& path() const { return path_; }
  void flush();
  void rewind();

  // Reading: the next line without its line end. False at the end of the file.
  bool read_line(std::string& out);
  int line_no() const { return line_no_; }

  // Writing fields into the current line; each returns *this so a record reads as a chain.
  TextFile& X(int n) { put_X(cur, n); return *this; }
  TextFile& A(std::string_view s) { cur.append(s); return *this; }
  TextFile& A(std::string_view s, int w) { put_A(cur, s, w); return *this; }
  TextFile& I(long long v, int w) { put_I(cur, v, w); return *this; }
  TextFile& F(double v, int w, int d) { put_F(cur, v, w, d); return *this; }
  TextFile& E(double v, int w, int d) { put_E(cur, v, w, d, 0); return *this; }
  TextFile& PE(double v, int w, int d) { put_E(cur, v, w, d, 1); return *this; }  // 1PEw.d
  TextFile& G(double v, int w, int d) { put_G(cur, v, w, d, 0); return *this; }
  TextFile& PG(double v, int w, int d) { put_G(cur, v, w, d, 1); return *this; }  // 1PGw.d
  TextFile& R(double v, int w, int d) { put_real(cur, v, w, d); return *this; }  // report rule
  // Ends the current line (written as it stands, no trailing blank added).
  TextFile& nl();
  // A whole line: the text, then the line end.
  TextFile& line(std::string_view s) { cur.append(s); return nl(); }
  // A free-format text line: one blank, then the text.
  TextFile& free(std::string_view s) { cur.push_back(' '); cur.append(s); return nl(); }

  // A write, flush or close of the file failed; write_errno() is the system's reason of the
  // first failure.
  bool write_failed() const { return write_failed_; }
  int write_errno() const { return write_errno_; }
  // Sends what the stream holds to the file; false (and the failure recorded) when it
  // cannot.
  bool flush_checked();
  // Each line goes to the file as soon as it ends (for a log that must say how far a run
  // got, whatever ends the run).
  void line_buffered();

  std::string cur;  // the open line

 private:
  std::FILE* fp_ = nullptr;
  std::string path_;
  int line_no_ = 0;
  bool writing_ = false;
  // A failure stays recorded when the object opens its file again, so that the end of a
  // run sees every failure of a file that is written in several passes.
  bool write_failed_ = false;
  int write_errno_ = 0;
  void failed();  // records a failed write, flush or close
  bool memory_ = false;
  std::string mem_;
};

}  // namespace torva
