// The engine's progress file as the host reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torva_host {

// The engine's latest progress message in `text` (what the progress file holds): its lines
// up to the first empty one, each without the engine's leading blank and dash. With
// `ended`, only a message that its empty line ends is taken (none otherwise).
std::vector<std::string> progress_lines(std::string_view text, bool ended);

}  // namespace torva_host
