#pragma once
// Broken preconditions and container bounds failures raise TPreconditionError, whose message
// carries the word "Precondition", the failed expression, the source file and the line.
// Data from outside the program never reaches one: readers bound what they read first.

#include <stdexcept>
#include <string>

namespace kvt {

class TPreconditionError : public std::logic_error {
public:
  TPreconditionError(const char* expression, const char* file, int line);

  const std::string& Expression() const { return expression; }
  const std::string& File() const { return file; }
  int Line() const { return line; }

private:
  std::string expression;
  std::string file;
  int line;
};

[[noreturn]] void ThrowPrecondition(const char* expression, const char* file, int line);

}  // namespace kvt

#define KVT_PRECONDITION(expr) \
  ((expr) ? static_cast<void>(0) : ::kvt::ThrowPrecondition(#expr, __FILE__, __LINE__))
