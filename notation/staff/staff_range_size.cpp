// TStaffRange: the size of the range's clip text, measured by writing it to a counting stream.
#include "notation/files/text/clip_text.h"
#include "notation/staff/staff_range.h"
#include "utils/sizer_stream.h"

namespace kvt {

int32_t TStaffRange::GetSerializedSize() const {
  TKRVSizerStream counter;
  WriteClipText(*this, counter, true, false);
  return counter.Size();
}

}  // namespace kvt
