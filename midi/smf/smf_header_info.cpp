#include "midi/smf/smf_header_info.h"

namespace kvt {

void WriteSMFHeaderInfo(TSMFOutStream& out, const TSMFSongInfo& info, bool inTempoTrack) {
  if (!info.title.empty())
    out.WriteTextW(0, inTempoTrack ? kSMFMetaTrackName : kSMFMetaText, info.title);
  if (!info.author.empty()) out.WriteTextW(0, kSMFMetaText, u"By " + info.author);
  if (!info.copyright1.empty()) out.WriteTextW(0, kSMFMetaCopyright, info.copyright1);
  if (!info.copyright2.empty()) out.WriteTextW(0, kSMFMetaCopyright, info.copyright2);
  out.WriteText(0, kSMFMetaText, kSMFGeneratorText);
}

}  // namespace kvt
