#include "support/workdir.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace torva::testing {

const char* const kRoleExt[22] = {".echo", ".out", ".sum", ".plt", ".log", ".cas", ".pld", ".prg",
                                  ".gcd",  ".es1", ".es2", ".pls", ".stp", ".pst", ".kmx", ".wrn",
                                  ".trc",  ".lsd", ".cvd", ".stt", ".sus", ".mph"};

WorkDir::WorkDir() {
  static std::atomic<int> seq{0};
  prev_ = std::filesystem::current_path();
  dir_ = std::filesystem::temp_directory_path() /
         ("torva_test_" + std::to_string(::getpid()) + "_" + std::to_string(seq++));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

WorkDir::~WorkDir() {
  std::error_code ec;
  std::filesystem::current_path(prev_, ec);
  std::filesystem::remove_all(dir_, ec);
}

void WorkDir::write_names(const std::string& input, const std::string& base) {
  std::ostringstream s;
  s << "TORVA TEST  \n\n\n\n" << input << "\n";
  for (const char* e : kRoleExt) s << base << e << "\n";
  write("Names.dat", s.str());
}

void WorkDir::write(const std::string& name, const std::string& text) const {
  std::ofstream(dir_ / name, std::ios::binary) << text;
}

void WorkDir::copy_input(const std::filesystem::path& dat, const std::string& base) const {
  namespace fs = std::filesystem;
  fs::copy_file(dat, dir_ / (base + ".dat"), fs::copy_options::overwrite_existing);
  fs::path fem = dat;
  fem.replace_extension(".fem");
  if (fs::exists(fem)) fs::copy_file(fem, dir_ / (base + ".fem"), fs::copy_options::overwrite_existing);
}

std::string WorkDir::read(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WorkDir::exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

std::string mask_variable_lines(const std::string& text) {
  static const char* const labels[] = {"Execution Time", "Serial processing", "Paral. processing",
                                       "Print. processing", "Number Processors"};
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    for (const char* l : labels) {
      const std::size_t at = line.find(l);
      if (at != std::string::npos) {
        line = line.substr(0, at + std::string(l).size()) + " <masked>";
        break;
      }
    }
    out += line;
    if (end < text.size()) out += '\n';
    pos = end + 1;
  }
  return out;
}

}  // namespace torva::testing
