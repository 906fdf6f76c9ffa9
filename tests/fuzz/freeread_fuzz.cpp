// Fuzz target of the input data file reader: the free-format record reader on its own,
// driven by a plan taken from the first line, then the whole input file through the
// section readers, the input checks and the unit conversion.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "driver/runctl.h"
#include "input/freeread.h"
#include "input/readinput.h"
#include "input/readinput_parts.h"
#include "model/model.h"

namespace {

using namespace torva;

// Reads `text` as records whose targets follow the characters of `plan`.
void read_by_plan(std::string_view plan, std::string_view text) {
  StringLines src(text);
  FreeReader rd(src);
  int iv = 0;
  double rv = 0.0;
  Chars<80> tv;
  std::string line;
  std::size_t k = 0;
  for (int rec = 0; rec < 64 && rd.ok(); ++rec) {
    const int n = plan.empty() ? 1 : 1 + static_cast<unsigned char>(plan[k++ % plan.size()]) % 7;
    if (!plan.empty() && static_cast<unsigned char>(plan[k % plan.size()]) % 5 == 0) {
      rd.fixed_line(line, "NAME");
      continue;
    }
    rd.rec();
    for (int j = 1; j <= n; ++j) {
      const int kind = plan.empty() ? 0 : static_cast<unsigned char>(plan[(k + j) % plan.size()]) % 3;
      if (kind == 0) rd.i(iv, Fid("IV", rec, j));
      if (kind == 1) rd.r(rv, Fid("RV", rec, j), true);
      if (kind == 2) rd.t(tv, Fid("TV", rec, j));
    }
  }
  (void)rd.where(Fid("IV", 1, 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = text.find('\n');
  read_by_plan(text.substr(0, nl == std::string_view::npos ? 0 : std::min<std::size_t>(nl, 16)),
               nl == std::string_view::npos ? text : text.substr(nl + 1));

  // One model for the process: every count a failed read leaves behind is within its
  // table, so a later input may meet any state an earlier one left.
  static Model* const m = [] {
    Model* p = new_model().release();
    p->FNAME[R_CURVEDATA] = "/dev/null";
    return p;
  }();
  int status = ST_OK;
  StringLines src(text);
  read_input_file(*m, src, status);
  if (status == ST_OK) CONVINPUT(*m);
  return 0;
}
