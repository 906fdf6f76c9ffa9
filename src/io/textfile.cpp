#include "io/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace torva {

int open_unchanged(const std::string& path, bool& created) {
  created = false;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    created = true;
    return fd;
  }
  // An existing file (or a link, followed to its target as a plain open would).
  if (errno == EEXIST) fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  return fd;
}

std::FILE* rewrite_stream(int fd, const std::string& path) {
  if (fd < 0) return nullptr;
  struct stat st {};
  struct stat ln {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    // A file of one name only (not a link, not linked elsewhere) is replaced by a new empty
    // file of the same name and permissions: cutting the old one to zero would make the file
    // system write the new content out at the close (its guard for files replaced by
    // truncation), the largest cost of a small run's reports. Otherwise it is cut to zero.
    int fresh = -1;
    if (st.st_nlink == 1 && ::lstat(path.c_str(), &ln) == 0 && S_ISREG(ln.st_mode) &&
        ln.st_ino == st.st_ino && ln.st_dev == st.st_dev && ::unlink(path.c_str()) == 0)
      fresh = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
    if (fresh >= 0) {
      ::close(fd);
      fd = fresh;
    } else if (::ftruncate(fd, 0) != 0) {
      const int e = errno;
      ::close(fd);
      errno = e;
      return nullptr;
    }
  }
  std::FILE* fp = ::fdopen(fd, "wb");
  if (!fp) {
    const int e = errno;
    ::close(fd);
    errno = e;
  }
  return fp;
}

const char* not_regular(const std::string& path, bool& exists) {
  struct stat st {};
  exists = ::stat(path.c_str(), &st) == 0;
  if (!exists || S_ISREG(st.st_mode)) return nullptr;
  if (S_ISDIR(st.st_mode)) return "folder";
  return S_ISFIFO(st.st_mode) ? "FIFO" : "device";
}

std::FILE* open_rewrite(const std::string& path) {
  return rewrite_stream(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666), path);
}

namespace {

// Writes `text` over the start of the open file and cuts it to that length.
int rewrite_fd(int fd, std::string_view text) {
  const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
  int err = n == ssize_t(text.size()) ? 0 : (n < 0 ? errno : ENOSPC);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > off_t(text.size()) &&
      ::ftruncate(fd, off_t(text.size())) != 0 && err == 0)
    err = errno;
  return err;
}

}  // namespace

bool rewrite_file(const std::string& path, std::string_view text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  int err = rewrite_fd(fd, text);
  if (::close(fd) != 0 && err == 0) err = errno;
  errno = err;
  return err == 0;
}

bool HeldFile::open(const std::string& path) {
  close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

bool HeldFile::rewrite(std::string_view text) const {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  const int err = rewrite_fd(fd_, text);
  errno = err;
  return err == 0;
}

void HeldFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string shown_path(const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::absolute(name, ec);
  if (ec) {
    // A working folder removed meanwhile has no path of its own any more; the system still
    // tells where it was.
    const fs::path cwd = fs::read_symlink("/proc/self/cwd", ec);
    if (ec) return name;
    std::string where = cwd.string();
    constexpr std::string_view gone = " (deleted)";
    if (where.size() > gone.size() && where.compare(where.size() - gone.size(), gone.size(), gone) == 0)
      where.resize(where.size() - gone.size());
    p = fs::path(where) / name;
  }
  return p.lexically_normal().string();
}

std::string upper_reason(int err) {
  std::string r = std::strerror(err);
  for (char& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

bool TextFile::open_write(const std::string& path) {
  close();
  return open_write(path, ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
}

bool TextFile::open_write(const std::string& path, int fd) {
  close();
  path_ = path;
  fp_ = rewrite_stream(fd, path);
  writing_ = true;
  line_no_ = 0;
  cur.clear();
  return fp_ != nullptr;
}

bool TextFile::open_append(const std::string& path) {
  close();
  path_ = path;
  fp_ = std::fopen(path.c_str(), "ab");
  writing_ = true;
  line_no_ = 0;
  cur.clear();
  return fp_ != nullptr;
}

bool TextFile::open_read(const std::string& path) {
  close();
  path_ = path;
  fp_ = std::fopen(path.c_str(), "rb");
  writing_ = false;
  line_no_ = 0;
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
    if (std::fwrite(text.data(), 1, text.size(), fp_) != text.size() || std::ferror(fp_)) failed();
  }
}

void TextFile::failed() {
  if (!write_failed_) write_errno_ = errno != 0 ? errno : EIO;
  write_failed_ = true;
}

bool TextFile::flush_checked() {
  if (fp_ && writing_ && (std::fflush(fp_) != 0 || std::ferror(fp_))) failed();
  return !write_failed_;
}

void TextFile::line_buffered() {
  if (fp_) std::setvbuf(fp_, nullptr, _IOLBF, BUFSIZ);
}

void TextFile::close() {
  memory_ = false;
  mem_.clear();
  if (fp_) {
    if (!cur.empty()) nl();
    errno = 0;
    if (writing_ && std::ferror(fp_)) failed();
    if (std::fclose(fp_) != 0 && writing_) failed();
    fp_ = nullptr;
  }
  cur.clear();
}

void TextFile::flush() { flush_checked(); }

void TextFile::rewind() {
  if (fp_) {
    flush_checked();
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
    // A stream that sends each line at its end may take the line and fail to send it: its
    // error mark says so.
    if (std::fwrite(cur.data(), 1, cur.size(), fp_) != cur.size() || std::ferror(fp_)) failed();
  }
  cur.clear();
  return *this;
}

}  // namespace torva
