#include "io/fileset.h"

#include <sys/stat.h>

#include <filesystem>

namespace torva {

namespace fs = std::filesystem;

std::string plate_base(const std::string& input) {
  std::string base = input;
  const std::size_t slash = base.find_last_of('/');
  const std::size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
  return base;
}

std::vector<RunFile> plate_files(const std::string& input) {
  const std::string base = plate_base(input);
  std::vector<RunFile> f = {{base + ".fem", "plate model file", false, 0},
                            {base + ".fel", "plate program's listing", true, 0},
                            {base + ".fer", "plate program's results", true, 0},
                            {base + ".flg", "plate program's step log", true, 0},
                            {base + ".fmd", "cap model file", true, 0},
                            {base + ".fkw", "cap model keyword file", true, 0},
                            {kPlateList, "plate program's file list", true, 0},
                            {kPlateTrace, "plate program's trace", true, 0}};
  for (const char* w : kPlateWork) f.push_back({w, "plate program's work file", true, 0});
  return f;
}

std::vector<RunFile> run_files(const std::vector<std::string>& names, const char* const* roles,
                               bool list_written) {
  std::vector<RunFile> f = {{"Names.dat", "file-name list", list_written, 0}};
  const int n = int(names.size());
  for (int k = 0; k < n; ++k) f.push_back({names[k], roles[k], k > 0 && k < n - 1, k + 5});
  if (n > 0)
    for (RunFile& p : plate_files(names[0])) f.push_back(std::move(p));
  return f;
}

namespace {

// What makes a file itself: its device and inode when it exists, otherwise its folder's
// device and inode and its name in it; the normal absolute path as well, for a folder that
// does not exist either.
struct Identity {
  std::string path;
  bool by_inode = false;
  dev_t dev = 0;
  ino_t ino = 0;
  std::string leaf;  // the name in its folder, for a file that does not exist
};

// The file that writing to `name` would create: a link whose target does not exist yet is
// followed, link by link (as the system does when the file is opened), so that the target
// is known by its folder and its name in it.
std::string followed(std::string name) {
  for (int k = 0; k < 40; ++k) {
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0 || ::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
      break;
    std::error_code ec;
    const fs::path target = fs::read_symlink(name, ec);
    if (ec) break;
    name = target.is_absolute() ? target.string() : (fs::path(name).parent_path() / target).string();
  }
  return name;
}

Identity identity(const std::string& given) {
  Identity id;
  const std::string name = followed(given);
  std::error_code ec;
  const fs::path p = fs::absolute(name, ec).lexically_normal();
  id.path = ec ? name : p.string();
  // The folder as the system finds it: a ".." after a linked folder leads from where the
  // link leads, not back to the folder of the link.
  const fs::path raw(name);
  const fs::path folder = raw.parent_path().empty() ? fs::path(".") : raw.parent_path();
  struct stat st {};
  if (::stat(name.c_str(), &st) == 0) {
    id.by_inode = true;
  } else if (::stat(folder.c_str(), &st) == 0) {
    id.by_inode = true;
    id.leaf = raw.filename().string();
  }
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  return id;
}

// Two files that the system can identify are one exactly when it says so; the normal
// path decides only for a file whose folder cannot be found.
bool same(const Identity& a, const Identity& b) {
  if (a.by_inode && b.by_inode) return a.dev == b.dev && a.ino == b.ino && a.leaf == b.leaf;
  return a.path == b.path;
}

}  // namespace

std::pair<int, int> one_file_two_roles(const std::vector<RunFile>& files) {
  std::vector<Identity> ids;
  ids.reserve(files.size());
  for (const RunFile& f : files) ids.push_back(identity(f.name));
  for (int j = 1; j < int(files.size()); ++j)
    for (int i = 0; i < j; ++i)
      if ((files[std::size_t(i)].written || files[std::size_t(j)].written) &&
          same(ids[std::size_t(i)], ids[std::size_t(j)]))
        return {i, j};
  return {-1, -1};
}

}  // namespace torva
