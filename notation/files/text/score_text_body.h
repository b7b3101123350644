#pragma once
// The score text as the body of a binary score file (format version 35 and later): the one
// place where the container meets the score text reader and writer.

#include <memory>

#include "notation/services/services.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
struct TScoreFileHeader;

// Reads the score text that follows the header (the text reader's file mode); the text's
// ANSI code page goes into the header. `corrupt` is set when the reader had to bound or drop
// values. Null when the stream holds no score text. The services serve the read (ReadScoreText).
std::unique_ptr<TMusicScore> ReadScoreTextBody(TKRVStream& stream, TScoreFileHeader& header,
                                               bool& corrupt,
                                               const TServices& services = TServices());

// Writes the whole score as score text.
void WriteScoreTextBody(TKRVStream& stream, const TMusicScore& score);

}  // namespace kvt
