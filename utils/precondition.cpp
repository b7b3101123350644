#include "utils/precondition.h"

namespace kvt {

namespace {
std::string Describe(const char* expression, const char* file, int line) {
  return std::string("Precondition violated: ") + expression + " in " + file + " at line " +
         std::to_string(line);
}
}  // namespace

TPreconditionError::TPreconditionError(const char* expression, const char* file, int line)
    : std::logic_error(Describe(expression, file, line)),
      expression(expression),
      file(file),
      line(line) {}

void ThrowPrecondition(const char* expression, const char* file, int line) {
  throw TPreconditionError(expression, file, line);
}

}  // namespace kvt
