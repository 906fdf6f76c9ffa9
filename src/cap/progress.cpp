#include "cap/progress.h"

#include <cstdio>
#include <string>

#include "input/freeread.h"
#include "io/textfile.h"

namespace torva {

void progress_message(const Model& m, std::initializer_list<std::string_view> lines) {
  std::string s;
  for (std::string_view l : lines) {
    s.append(l);
    s.push_back('\n');
  }
  if (m.PROGRESS.is_open())
    m.PROGRESS.rewrite(s);
  else
    rewrite_file(m.fname(R_PROGRESS), s);
}

bool stop_requested(const Model& m) {
  // Opened for update so that a missing file is created, as the host expects.
  std::FILE* fp = std::fopen(m.fname(R_STOPREQ).c_str(), "a+b");
  if (!fp) return false;
  std::rewind(fp);
  std::string text;
  char buf[256];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, fp)) > 0;) text.append(buf, n);
  std::fclose(fp);
  // The first free-format value of the file, read as the input's integers are read: a value
  // that is not a whole integer ("1.0", "1abc", "1e0") is no request.
  StringLines lines(text);
  FreeReader rd(lines);
  int v = 0;
  rd.rec().i(v, "STOPREQ");
  return rd.ok() && v == 1;
}

}  // namespace torva
