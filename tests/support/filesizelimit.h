// A limit on the size of the files this process (and a process it starts) writes, for the
// life of the object: a write beyond it fails with "File too large" instead of the signal
// that would end the process.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace torva::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : prev_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    struct rlimit lim = old_;
    lim.rlim_cur = bytes;
    set_ = ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, prev_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool set() const { return set_; }  // the limit holds

 private:
  struct rlimit old_ {};
  void (*prev_)(int);
  bool set_ = false;
};

}  // namespace torva::testing
