#pragma once
// The "-convert" tool: one score file into another format, without any window.
//
//   kvt2 -convert [-0|-1] input output
//
//   .kvt    -> .kvttxt, .mid or .info
//   .kvttxt -> .kvt, .mid or .info
//
// Results: 0 success, 1 failure, 2 usage shown. Every message (errors, the usage text) is
// appended to `messages`, whole; the caller shows it. An output file is written beside its
// target under a temporary name and renamed over it only when every layer of the writing
// succeeded, so a failed conversion leaves no output file behind (and an existing one as it
// was).

#include <string>
#include <vector>

namespace kvt {

struct TConvertOptions {
  int midiFileType = 1;  // 0 or 1; "-0" selects 0
};

// The usage text (message-box text: LF line ends, no final line end).
const char* GetConvertUsageText();

// arguments: the whole argument list, the program first and "-convert" second. From the third
// argument on, one beginning with '-' is an option ("-0": type 0 MIDI file, "-1": type 1, any
// other ignored); the first two others are the input and the output, further ones ignored.
// A valid request (output kind known, input .kvt or .kvttxt, the kinds differ) with an
// existing input file runs ConvertFile; a missing input is an error (1); anything else shows
// the usage (2).
int ConvertFiles(const std::vector<std::string>& arguments, std::string& messages);

// Loads the input, writes the output in its kind, frees the score: 0 or 1. A score that loads
// only in part (status 7: a corrupt binary file, score text cut before its end line or
// damaged compressed data) is a failure, as is any failed write.
int ConvertFile(int inputKind, int outputKind, const std::string& inputPath,
                const std::string& outputPath, const TConvertOptions& options,
                std::string& messages);

}  // namespace kvt
