// Tables filled by the input reader, as read (converted once to internal units).
#pragma once

#include "model/limits.h"
#include "model/table.h"

namespace torva {

// Run-state words used by the run driver (the input reader owns these records).
struct GENCTL {
  int IUNITS;  // unit system: 2 SI, 1 US customary, other generic (converted as US)
  int NDIM;    // model dimension, 2 or 3
  int NROW;    // pile-group rows of the model's dimension
  int ITRANS;  // transformation switch, 1
  int IOPASS;  // output-pass word
};

struct RUNSW {
  int IPYOUT;  // p-y output selector
};

struct InputTables : GENCTL, RUNSW {};

}  // namespace torva
