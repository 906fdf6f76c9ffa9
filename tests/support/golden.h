// Golden report files of the bundled examples: each example runs end to end and a part of
// one of its reports is compared with tests/golden/<example>/<file>. Text must match byte
// for byte and every number must sit in the same columns; a real may differ by one unit of
// its last printed digit. Regenerate deliberately with TORVA_UPDATE_GOLDEN=1 and review
// the difference; never to make a test pass.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace torva::testing {

// Empty when the lines agree within the last printed digit; otherwise why not.
std::string golden_compare(const std::string& want, const std::string& got);

// The lines of `text` from the first line containing `from` up to the line before the
// first later line containing `to` (or the end), without trailing empty lines.
std::vector<std::string> report_part(const std::string& text, const std::string& from,
                                     const std::string& to);

// Round-off values (below 1e-9, e.g. the out-of-plane results of a symmetric case) depend on
// the compiler's evaluation order: each is replaced by a 0 ending in the same column.
std::vector<std::string> mask_roundoff(std::vector<std::string> lines);

// Checks `got` against the golden file `file` line by line with golden_compare (or writes
// it when TORVA_UPDATE_GOLDEN is set).
void check_golden_lines(const std::filesystem::path& file, const std::vector<std::string>& got);

// Runs every example of examples/ and checks `part` of the report with extension `ext`
// (".echo", ".out", ...) against tests/golden/<example>/<golden_file>.
void check_examples_golden(const std::string& ext, const std::string& golden_file,
                           const std::function<std::vector<std::string>(const std::string&)>& part);

}  // namespace torva::testing
