#include "io/recfile.h"

#include <cerrno>
#include <cstring>

#include "io/textfile.h"

namespace torva {

bool RecFile::open_write(const std::string& path) {
  close();
  fp_ = open_rewrite(path);
  rec_.clear();
  return fp_ != nullptr;
}

void RecFile::close() {
  if (fp_ != nullptr) {
    if (!rec_.empty()) end();
    errno = 0;
    if (std::ferror(fp_)) failed();
    if (std::fclose(fp_) != 0) failed();
    fp_ = nullptr;
  }
  rec_.clear();
}

void RecFile::flush() { flush_checked(); }

bool RecFile::flush_checked() {
  if (fp_ != nullptr && (std::fflush(fp_) != 0 || std::ferror(fp_))) failed();
  return !write_failed_;
}

void RecFile::failed() {
  if (!write_failed_) write_errno_ = errno != 0 ? errno : EIO;
  write_failed_ = true;
}

RecFile& RecFile::i32(std::int32_t v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  rec_.append(b, sizeof v);
  return *this;
}

RecFile& RecFile::f64(double v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  rec_.append(b, sizeof v);
  return *this;
}

void RecFile::end() {
  if (fp_ == nullptr) {
    rec_.clear();
    return;
  }
  const auto n = static_cast<std::int32_t>(rec_.size());
  char b[sizeof n];
  std::memcpy(b, &n, sizeof n);
  bool ok = std::fwrite(b, 1, sizeof n, fp_) == sizeof n;
  ok = ok && std::fwrite(rec_.data(), 1, rec_.size(), fp_) == rec_.size();
  ok = ok && std::fwrite(b, 1, sizeof n, fp_) == sizeof n;
  if (!ok || std::ferror(fp_)) failed();
  rec_.clear();
}

}  // namespace torva
