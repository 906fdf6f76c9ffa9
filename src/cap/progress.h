// The progress file and the stop-request file of a run, written and polled while the
// analyses go on.
#pragma once

#include <initializer_list>
#include <string_view>

#include "model/model.h"

namespace torva {

// Progress message: rewrites the progress file with exactly these lines, so it holds only
// the latest message (failures to open or write are ignored).
void progress_message(const Model& m, std::initializer_list<std::string_view> lines);
// Stop poll: true when the first value of the stop-request file is the integer 1.
bool stop_requested(const Model& m);

}  // namespace torva
