#include "io/textfile.h"

#include <sys/types.h>

#include <cstdio>
#include <cstdlib>

namespace torva {

bool TextFile::open_write(const std::string& path) {
  close();
  path_ = path;
  fp_ = std::fopen(path.c_str(), "wb");
  line_no_ = 0;
  write_failed_ = false;
  cur.clear();
  return fp_ != nullptr;
}

bool TextFile::open_append(const std::string& path) {
  close();
  path_ = path;
  fp_ = std::fopen(path.c_str(), "ab");
  line_no_ = 0;
  write_failed_ = false;
  cur.clear();
  return fp_ != nullptr;
}

bool TextFile::open_read(const std::string& path) {
  close();
  path_ = path;
  fp_ = std::fopen(path.c_str(), "rb");
  line_no_ = 0;
  write_failed_ = false;
  cur.clear();
  return fp_ != nullptr;
}

void TextFile::open_memory() {
  close();
  memory_ = true;
  mem_.clear();
  line_no_ = 0;
  write_failed_ = false;
}

std::string TextFile::take_text() {
  std::string out;
  out.swap(mem_);
  return out;
}

void TextFile::write_text(std::string_view text) {
  if (memory_) {
    mem_.append(text);
  } else if (fp_ && !text.empty()) {
    if (std::fwrite(text.data(), 1, text.size(), fp_) != text.size()) write_failed_ = true;
  }
}

void TextFile::close() {
  memory_ = false;
  mem_.clear();
  if (fp_) {
    if (!cur.empty()) nl();
    if (std::fclose(fp_) != 0) write_failed_ = true;
    fp_ = nullptr;
  }
  cur.clear();
}

void TextFile::flush() {
  if (fp_) std::fflush(fp_);
}

void TextFile::rewind() {
  if (fp_) {
    std::fflush(fp_);
    std::rewind(fp_);
  }
  line_no_ = 0;
}

bool TextFile::read_line(std::string& out) {
  out.clear();
  if (!fp_) return false;
  // The line in one call of the C library (not a character at a time), into a buffer of
  // this thread that only grows.
  struct LineBuf {
    char* p = nullptr;
    std::size_t n = 0;
    ~LineBuf() { std::free(p); }
  };
  thread_local LineBuf buf;
  const ssize_t len = ::getline(&buf.p, &buf.n, fp_);
  if (len <= 0) return false;
  out.assign(buf.p, std::size_t(len));
  if (out.back() == '\n') out.pop_back();
  if (!out.empty() && out.back() == '\r') out.pop_back();
  ++line_no_;
  return true;
}

TextFile& TextFile::nl() {
  if (memory_) {
    mem_.append(cur);
    mem_.push_back('\n');
  } else if (fp_) {
    cur.push_back('\n');
    if (std::fwrite(cur.data(), 1, cur.size(), fp_) != cur.size()) write_failed_ = true;
  }
  cur.clear();
  return *this;
}

}  // namespace torva
