// Sequential record files: each record is framed by its length in bytes, a 32-bit integer
// written before and after the record's items (the usual layout of unformatted sequential
// files). Items are 32-bit integers and 64-bit reals in the machine's byte order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace torva {

class RecFile {
 public:
  RecFile() = default;
  RecFile(const RecFile&) = delete;
  RecFile& operator=(const RecFile&) = delete;
  ~RecFile() { close(); }

  // Opens for writing at the start, emptying the file. False when it cannot be opened.
  bool open_write(const std::string& path);
  void close();
  bool is_open() const { return fp_ != nullptr; }
  void flush();

  // Items of the open record; end() writes the record with its two length words.
  RecFile& i32(std::int32_t v);
  RecFile& f64(double v);
  void end();

  // A write or the close failed; write_errno() is the system's reason of the first failure.
  bool write_failed() const { return write_failed_; }
  int write_errno() const { return write_errno_; }
  // Sends what the stream holds to the file; false (and the failure recorded) when it
  // cannot.
  bool flush_checked();

 private:
  void failed();
  std::FILE* fp_ = nullptr;
  std::string rec_;
  bool write_failed_ = false;
  int write_errno_ = 0;
};

}  // namespace torva
