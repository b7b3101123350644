#pragma once
// The prompt of scripts: a label and a type text that says what is asked for.
//
//   type      asks for                 type-data (after the first characters)   initial
//   "*"       a text (1024 characters)  none                                    arg 3
//   "#"       a whole number            "[lo,hi]", default -1024..1024           arg 3 or lo
//   "#.#"     a real number (step 0.1,  "[lo,hi]", default -100..100             arg 3 or lo
//             result rounded to 0.01)
//   "@"       a coordinate pair         "([xlo,xhi],[ylo,yhi])", -100..100 each  args 3, 4
//             (both rounded to 0.01)
//   "|"       one entry of a list       the entries separated by "|"           arg 3: entry
// Any other first character: "Unrecognized prompt data type request.".

#include <string>
#include <variant>
#include <vector>

namespace kvt {

enum class TPromptKind { kText, kInteger, kReal, kCoord, kList };

struct TPromptRequest {
  TPromptKind kind = TPromptKind::kText;
  std::string label;  // UTF-8, at most 1024 characters
  std::string text;   // kText: the initial text
  double low[2] = {0, 0};
  double high[2] = {0, 0};
  double initial[2] = {0, 0};
  std::vector<std::string> entries;  // kList
  int choice = 0;                    // kList: the initial entry, 0-based
};

using TPromptValue = std::variant<std::string, double>;
using TPromptValues = std::vector<TPromptValue>;

// Reads the type text; false (and the request untouched) for an unknown type. Bounds that do
// not read keep their defaults; bounds given the wrong way round are swapped; initial values
// are clamped into the bounds.
bool ParsePromptType(const std::string& type, TPromptRequest& request);
// Clamps the initial values of a number or coordinate request into its bounds, and the list
// choice into the entries.
void ClampPromptInitial(TPromptRequest& request);
// The value a dialog returns for a number entered: whole numbers cut toward zero, reals and
// coordinates rounded to 0.01, all clamped into the bounds of axis `axis`.
double FinishPromptNumber(const TPromptRequest& request, int axis, double value);

}  // namespace kvt
