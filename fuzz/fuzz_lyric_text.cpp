// Lyric text as read from score files: the first byte picks the code page and the underscore
// rule, the rest is the stored text. Whatever is read must write back and convert for the
// editor without fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "notation/items/lyric_text.h"
#include "utils/memory_block.h"
#include "utils/stream.h"

namespace {

class BytesStream : public kvt::TKRVStream {
public:
  BytesStream(const uint8_t* data, size_t size) : data(data), size(size) {}
  int GetByte() override {
    if (pos >= size) {
      SetError();
      return 0;
    }
    return data[pos++];
  }
  void PutByte(int byte) override { written.push_back(static_cast<char>(byte)); }
  std::string written;

private:
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int codePage = (data[0] & 1) ? kvt::kCodePage1252 : kvt::kCodePageUtf8;
  const bool underscoreAsSpace = (data[0] & 2) != 0;
  BytesStream in(data + 1, size - 1);
  kvt::TLyricText text;
  text.ReadFromStream(in, underscoreAsSpace, codePage);

  BytesStream out(nullptr, 0);
  text.WriteToStream(out, codePage);
  const std::u16string edit = text.WriteToEdit();
  const int count = text.GetSyllableCount();
  for (int i : {-1, 0, count / 2, count, count + 1}) {
    const int offset = text.GetEditOffset(i);
    if (offset < 0 || static_cast<size_t>(offset) > edit.size()) __builtin_trap();
  }

  // The same bytes as UTF-16 edit-control text.
  std::u16string typed;
  for (size_t i = 1; i + 1 < size; i += 2)
    typed.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  kvt::TLyricText fromEdit;
  fromEdit.ReadFromEdit(typed, underscoreAsSpace);
  BytesStream sink(nullptr, 0);
  fromEdit.WriteToStream(sink, kvt::kCodePageUtf8);
  kvt::TLyricSyllableIter it(fromEdit, count);
  it.Prev();
  it.SeekTo(0);
  return 0;
}
