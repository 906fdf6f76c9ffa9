#include "run/textfile.h"

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
  int c;
  bool any = false;
  while ((c = std::fgetc(fp_)) != EOF) {
    any = true;
    if (c == '\n') break;
    out.push_back(char(c));
  }
  if (!any) return false;
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
