#pragma once
// TSelectorSource: where the selector toolbars' inserts (commands 256..271) find their
// selector scores. A selector score holds one staff per entry of the selector's menu; the
// staff's name is the entry's text. The null source has no selectors, so those commands stay
// disabled; the program's source answers null until the selector menus exist.
//
// Contract: UI thread only; a returned score stays valid until the next call.

namespace kvt {

class TMusicScore;

// The selector commands: 256 "Selector - Clefs" .. 271 "Selector - User 6".
inline constexpr int kCmdFirstSelector = 256;
inline constexpr int kCmdLastSelector = 271;

class TSelectorSource {
public:
  virtual ~TSelectorSource() = default;
  // The selector score of the command; null when that selector does not exist.
  virtual const TMusicScore* SelectorScore(int command) const = 0;
};

class TNullSelectorSource final : public TSelectorSource {
public:
  const TMusicScore* SelectorScore(int) const override { return nullptr; }
};

}  // namespace kvt
