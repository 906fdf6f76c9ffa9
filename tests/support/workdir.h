// A temporary working directory for one engine run, with a "Names.dat" naming every role.
#pragma once

#include <filesystem>
#include <string>

namespace torva::testing {

class WorkDir {
 public:
  WorkDir();   // creates a fresh directory and makes it the working directory
  ~WorkDir();  // restores the previous working directory and removes this one
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  const std::filesystem::path& path() const { return dir_; }
  // Writes "Names.dat" naming input `input` and every output as `base` + extension.
  void write_names(const std::string& input = "case.dat", const std::string& base = "case");
  void write(const std::string& name, const std::string& text) const;
  // Copies the input data file `dat` here as `base`.dat and, when one lies beside it, its
  // plate model file of the cap (the same name with .fem) as `base`.fem.
  void copy_input(const std::filesystem::path& dat, const std::string& base = "case") const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path dir_, prev_;
};

// The extension of each file role of "Names.dat" lines 6 to 27, in line order.
extern const char* const kRoleExt[22];

// Masks the timing lines (wall-clock values) so that runs can be compared byte for byte;
// tests fix the date through platform::set_date.
std::string mask_variable_lines(const std::string& text);

}  // namespace torva::testing
