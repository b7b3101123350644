// The kvt2 executable. Command-line modes never need a display.

#include <clocale>
#include <cstdio>

namespace {

void PrintUsage() {
  std::fputs(
      "kvt2: a music-notation editor.\n"
      "usage:\n"
      "  kvt2 -convert [-0] <input> <output>   convert a score (not yet available)\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  // Numbers in files never follow the user's locale.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  PrintUsage();
  return argc > 1 ? 2 : 0;
}
