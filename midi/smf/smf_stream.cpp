#include "midi/smf/smf_stream.h"

#include "utils/debug_log.h"

namespace kvt {

void TSMFStream::Error(const char* text) {
  errorFlag = true;
  DebugPrintf("MIDI file error: %s\n", text ? text : "");
}

void TSMFStream::Warning(const char* text) {
  ++warningCount;
  DebugPrintf("MIDI file warning: %s\n", text ? text : "");
}

}  // namespace kvt
