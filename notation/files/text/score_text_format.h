#pragma once
// The frame lines of the score text format and of clips, and the format version.
//
// One product word builds every frame line the writers emit:
//   "!TarlowmedeRazadove(2.75)"              score header
//   "!TarlowmedeRazadove-End"                score end
//   "!TarlowmedeRazadoveClip(2.75,Single)"   clip header
//   "!TarlowmedeRazadoveClip-End"            clip end
// Some documents and older tools spell the same lines with the word "TarlowmedeVezeroza"; the
// two spellings are one format, so every reader accepts both (MatchFrameLine). Letter case
// counts, as the lines are written by programs, not typed.

#include <string_view>

namespace kvt {

// The product word of the frame lines (also handed to the built-in scripts).
inline constexpr char kScoreTextProductWord[] = "TarlowmedeRazadove";
// The other spelling readers accept.
inline constexpr char kScoreTextProductWordAlt[] = "TarlowmedeVezeroza";

// The version the writers put into header lines, and its value.
inline constexpr char kScoreTextVersionText[] = "2.75";
inline constexpr double kScoreTextVersion = 2.75;

// Complete frame lines as the writers emit them (without line end).
inline constexpr char kScoreTextHeaderLine[] = "!TarlowmedeRazadove(2.75)";
inline constexpr char kScoreTextEndLine[] = "!TarlowmedeRazadove-End";
inline constexpr char kClipHeaderLine[] = "!TarlowmedeRazadoveClip(2.75,Single)";
inline constexpr char kClipEndLine[] = "!TarlowmedeRazadoveClip-End";

// Page margins are read in centimetres from 0 up to (not including) 200; the writer keeps to
// the largest two-decimal value below, so a saved margin always reads back.
inline constexpr double kMarginLimitCm = 200.0;
inline constexpr double kLargestWrittenMarginCm = 199.99;

// The range of an ending's "VertOffset". The stored bracket position runs -100..100 (the
// older field "BracketOffsetNP"), so its offset, 1 minus it, can be 101.
inline constexpr int kEndingVertOffsetMin = -100;
inline constexpr int kEndingVertOffsetMax = 101;

enum class TFrameLine {
  kNone,
  kScoreHeader,  // begins with "!<word>(": `rest` is the text after the parenthesis
  kScoreEnd,     // equals "!<word>-End"
  kClipHeader,   // begins with "!<word>Clip(": `rest` is the text after the parenthesis
  kClipEnd,      // equals "!<word>Clip-End"
};

// Classifies a trimmed line as one of the frame lines in either spelling. For the header kinds
// `rest` (when not null) receives the text after the opening parenthesis.
TFrameLine MatchFrameLine(std::string_view line, std::string_view* rest = nullptr);

// The version at the start of a header's rest ("2.75)" or "2.75,Single)"): the leading real
// number, read without regard to the locale. False when the rest does not begin with one.
bool ParseFrameVersion(std::string_view rest, double& version);

}  // namespace kvt
