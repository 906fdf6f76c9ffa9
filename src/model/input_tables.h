// Tables filled by the input reader, as read (converted once to internal units).
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Run-state words used by the run driver (the input reader owns these records).
struct GENCTL {
  int ITRANS;  // transformation switch, 1
  int IOPASS;  // output-pass word
};

struct RUNSW {
  int IPYOUT;  // p-y output selector
};

struct InputTables : GENCTL, RUNSW {};

}  // namespace torva
