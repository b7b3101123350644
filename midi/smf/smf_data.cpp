#include "midi/smf/smf_data.h"

#include <cstring>

#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr int kWindows1252 = 1252;

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    char32_t cp = 0;
    const size_t n = DecodeUtf8Scalar(text, cp);
    if (n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

bool IsKindRecord(int type, const std::string& text, int kind) {
  if (text.empty()) return false;
  if (kind == kSMFTextLyrics) return type == 5;
  if (kind == kSMFTextKaraoke) return type == 1 && text[0] != '@';
  return false;
}

}  // namespace

std::string CutUtf8(const std::string& text, size_t maxBytes) {
  return text.substr(0, Utf8PrefixLength(text, maxBytes));
}

std::string TextToUtf8(const std::string& bytes) {
  if (IsUtf8(bytes)) return bytes;
  return Utf16ToUtf8(MultiByteToUtf16(kWindows1252, bytes));
}

TSMFTrackData::TSMFTrackData() : events(5), texts(2048), names(2) {}

void TSMFTrackData::AddText(uint32_t time, int type, const std::string& text) {
  texts.WriteLong(static_cast<int32_t>(time));
  texts.PutByte(type);
  texts.WriteString(text.c_str());
  ++textCount;
}

void TSMFTrackData::SetName(const std::string& text) {
  names.SetItem(0, CutUtf8(text, kSMFTrackTextBytes).c_str());
}

void TSMFTrackData::SetInstrumentName(const std::string& text) {
  names.SetItem(1, CutUtf8(text, kSMFTrackTextBytes).c_str());
}

void TSMFTrackData::Reset() {
  events.Reset();
  texts.Clear();
  textCount = 0;
  port = 0;
  names.ClearAll();
}

bool TSMFTrackData::NextText(uint32_t& time, std::string& text, int maxLength, int kind) {
  for (;;) {
    const uint32_t t = texts.ReadLong();
    const int type = texts.GetByte();
    std::string record;
    for (int c = texts.GetByte(); c != 0; c = texts.GetByte())
      record.push_back(static_cast<char>(c));
    if (texts.IsError()) return false;
    if (!IsKindRecord(type, record, kind)) continue;
    time = t;
    text = CutUtf8(record, maxLength > 1 ? static_cast<size_t>(maxLength - 1) : 0);
    return true;
  }
}

bool TSMFTrackData::HasTextAfterStart(int kind) {
  texts.Rewind();
  uint32_t time = 0;
  std::string text;
  bool found = false;
  while (NextText(time, text, 2, kind))
    if (time > 0) {
      found = true;
      break;
    }
  texts.Rewind();
  return found;
}

TSMFData::TSMFData(int trackCount) { Reset(trackCount); }

TSMFData::~TSMFData() = default;

void TSMFData::Reset(int trackCount) {
  sysEx.Clear();
  songTexts.ClearAll();
  if (trackCount < 0) trackCount = 0;
  if (static_cast<int>(tracks.size()) > trackCount) tracks.resize(static_cast<size_t>(trackCount));
  while (static_cast<int>(tracks.size()) < trackCount)
    tracks.push_back(std::make_unique<TSMFTrackData>());
  for (auto& track : tracks) track->Reset();
}

TSMFTrackData* TSMFData::GetTrack(int i) {
  return i < 0 || i >= GetTrackCount() ? nullptr : tracks[static_cast<size_t>(i)].get();
}

const TSMFTrackData* TSMFData::GetTrack(int i) const {
  return i < 0 || i >= GetTrackCount() ? nullptr : tracks[static_cast<size_t>(i)].get();
}

void TSMFData::AppendTrack(std::unique_ptr<TSMFTrackData> track) {
  if (track) tracks.push_back(std::move(track));
}

}  // namespace kvt
