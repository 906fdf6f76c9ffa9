#include "model/model.h"

#include <stdexcept>
#include <string>

namespace torva {

std::unique_ptr<Model> new_model() { return std::make_unique<Model>(); }

namespace {
struct InternalError : std::logic_error {
  using std::logic_error::logic_error;
};
}  // namespace

void assert_failed(const char* cond, const char* msg, const char* file, int line) {
  throw InternalError(std::string(file) + ":" + std::to_string(line) + ": " + msg + " (" + cond +
                      ")");
}

}  // namespace torva
