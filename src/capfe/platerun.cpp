#include "capfe/platerun.h"

#include <cerrno>
#include <cstdint>

#include "model/model.h"

namespace torva {

double& PlateRun::elmat(int e, int i, int j) {
  const int n = m.NEVAB;
  TORVA_ASSERT(1 <= e && e <= m.NELEM && 1 <= i && i <= n && 1 <= j && j <= n,
               "element matrix index out of bounds");
  return ELMAT[std::size_t(e - 1) * std::size_t(n) * std::size_t(n) + std::size_t(i - 1) * std::size_t(n) +
               std::size_t(j - 1)];
}

bool RecordFile::failed() {
  err_ = errno;
  return false;
}

bool RecordFile::open(const std::string& path) {
  close();
  path_ = path;
  err_ = 0;
  fp_ = std::fopen(path.c_str(), "w+b");
  pos_ = count_ = len_ = 0;
  return fp_ != nullptr || failed();
}

void RecordFile::close() {
  if (fp_ != nullptr) std::fclose(fp_);
  fp_ = nullptr;
  pos_ = count_ = 0;
}

bool RecordFile::write(const double* v, int n) {
  errno = 0;
  if (fp_ == nullptr) return failed();
  if (len_ == 0) len_ = n;
  if (n != len_) return failed();
  const long rec = long(sizeof(double)) * len_ + 8;
  if (std::fseek(fp_, pos_ * rec, SEEK_SET) != 0) return failed();
  const std::int32_t mark = std::int32_t(sizeof(double) * std::size_t(n));
  bool ok = std::fwrite(&mark, sizeof mark, 1, fp_) == 1;
  ok = ok && std::fwrite(v, sizeof(double), std::size_t(n), fp_) == std::size_t(n);
  ok = ok && std::fwrite(&mark, sizeof mark, 1, fp_) == 1;
  if (!ok) return failed();
  ++pos_;
  count_ = pos_;
  return true;
}

bool RecordFile::read_at(long k, double* v, int n) {
  errno = 0;
  if (fp_ == nullptr || k < 1 || k > count_ || n != len_) return failed();
  const long rec = long(sizeof(double)) * len_ + 8;
  if (std::fseek(fp_, (k - 1) * rec + 4, SEEK_SET) != 0) return failed();
  return std::fread(v, sizeof(double), std::size_t(n), fp_) == std::size_t(n) || failed();
}

bool RecordFile::read(double* v, int n) {
  if (!read_at(pos_ + 1, v, n)) return false;
  ++pos_;
  return true;
}

}  // namespace torva
