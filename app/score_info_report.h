#pragma once
// The information report of the converter (".info"): song information, playing times, the
// fonts the score uses and, for a binary score file, the file's program version and code page.
//
// The report is text in the ANSI code page (Windows-1252; characters it cannot hold become
// "?") with every line end written as exactly one CR LF, whatever line ends the song comments
// carry:
//
//   Title:<TAB>...            Author:<TAB>...           Lyricist:<TAB>...
//   Copyright1:<TAB>...       Copyright2:<TAB>...
//   KVT Play Time:<TAB>m:ss   (as the editor plays it)
//   SMF Play Time:<TAB>m:ss   (as the MIDI export writes it)
//   Fonts Used:<TAB>face, face, ...   (music font first, then the twelve text fonts; each face
//                                      once, compared without regard to case)
//   binary input only:  KVT Version:<TAB>2.75  and, from format version 25 on,
//                       ANSICodePage:<TAB>1252
//   with comments:      Comments:  and the comment text on the lines below.

#include <string>

namespace kvt {

class TMusicScore;
struct TScoreFileHeader;

// The whole report. binaryHeader: the header read from a binary score file, or null for a
// score that came from score text. The score is measured with its own player (not const: the
// player re-audits staves that need it).
std::string FormatScoreInfoReport(const TMusicScore& score, const TScoreFileHeader* binaryHeader);

// The distinct face names of the music font and the twelve text fonts, in that order, each
// the first spelling met, joined by ", " (UTF-8, as the score stores them).
std::string ListScoreFonts(const TMusicScore& score);

// Every line end of the text (CR LF, a lone LF or a lone CR) written as one CR LF.
std::string WithCrLfLineEnds(const std::string& text);

}  // namespace kvt
