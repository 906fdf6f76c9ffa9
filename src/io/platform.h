// The few services the engine takes from its platform: wall clock, date and time of day,
// processor count, path splitting. Clock, date and processor count can be replaced (tests
// inject them so results do not depend on the machine).
#pragma once

#include <functional>
#include <string>

namespace torva::platform {

struct DateTime {
  int year, month, day, hour, minute, second;
};

double wall_seconds();                  // monotonic wall clock, seconds
DateTime now();                         // local date and time of day
int processors();                       // processors the run may use: OMP_NUM_THREADS when set
int max_threads();                      // the runtime's maximum thread count, taken once per process

void set_clock(std::function<double()> f);        // nullptr restores the real clock
void set_date(std::function<DateTime()> f);       // nullptr restores the real date
void set_processors(std::function<int()> f);      // nullptr restores the runtime's count

// Path split into drive (always empty here), directory (with its trailing separator),
// base name and extension (with its dot).
struct PathParts {
  std::string drive, dir, name, ext;
};
PathParts split_path(const std::string& path);

}  // namespace torva::platform
