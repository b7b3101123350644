#pragma once
// CloseHangingNotes: the safety net that keeps a rendered score from leaving keys sounding.
//
// A tied note strikes its key and leaves the release to the last note of the tie. When that
// continuation never comes (the tie runs into a rest, another pitch, a repeat jump or the end of
// the staff), nothing releases the key. After a rendering, this pass walks the buffer per port,
// channel and key: a key struck again while still sounding gets a note off just before the new
// strike (same tick; note offs sort first), and a key still sounding at the end gets its note
// off at `endTime`, at least one tick after its strike.
//
// The score player calls it once after all staves are rendered, before the end marker.
// Returns the number of note offs added (0 when the buffer overflows while adding them).

#include <cstdint>

namespace kvt {

class TMidiFileBuf;

int CloseHangingNotes(TMidiFileBuf& buffer, uint32_t endTime);

}  // namespace kvt
