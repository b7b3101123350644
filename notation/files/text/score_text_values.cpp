// Text values of the score text format (quoting and escapes), the stream forms of the item
// line, and the search text of items.

#include "notation/items/dynamic_level_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/name_lists.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// The escape letter of a byte that never stands raw in a quoted text; 0 for the others.
char EscapeLetter(char c) {
  switch (c) {
    case '\\': return ']';
    case '|': return '}';
    case '\t': return 't';
    case '\n': return 'n';
    case '\r': return 'r';
    case '"': return '"';
    case '\'': return '\'';
    default: return 0;
  }
}

bool NeedsQuotes(std::string_view text) {
  for (char c : text)
    if (c == ' ' || EscapeLetter(c)) return true;
  return false;
}

void WriteBytes(TKRVStream& stream, std::string_view bytes) {
  // Stream lengths are int; a text past that is written in pieces.
  while (!bytes.empty()) {
    const size_t n = bytes.size() < 0x40000000u ? bytes.size() : 0x40000000u;
    stream.Write(bytes.data(), static_cast<int>(n));
    bytes.remove_prefix(n);
  }
}

}  // namespace

void AppendTextValue(std::string& out, std::string_view utf8, bool forceQuotes) {
  if (!forceQuotes && !NeedsQuotes(utf8)) {
    out += utf8;
    return;
  }
  out.reserve(out.size() + utf8.size() + 2);
  out += '"';
  size_t run = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char letter = EscapeLetter(utf8[i]);
    if (!letter) continue;
    out.append(utf8.data() + run, i - run);
    out += '\\';
    out += letter;
    run = i + 1;
  }
  out.append(utf8.data() + run, utf8.size() - run);
  out += '"';
}

void AppendWideTextValue(std::string& out, std::u16string_view text) {
  AppendTextValue(out, Utf16ToUtf8(text), true);
}

void WriteTextValue(TKRVStream& stream, std::string_view utf8, bool forceQuotes) {
  std::string value;
  AppendTextValue(value, utf8, forceQuotes);
  WriteBytes(stream, value);
}

void WriteWideTextValue(TKRVStream& stream, std::u16string_view text) {
  std::string value;
  AppendWideTextValue(value, text);
  WriteBytes(stream, value);
}

void WriteItemLine(TKRVStream& stream, const TNotatedItem* item, int mode) {
  if (!item) return;
  WriteBytes(stream, FormatItemLine(*item, mode));
}

void WriteItemText(TKRVStream& stream, const TSimpleNtnIdx& index, int mode) {
  WriteItemLine(stream, index.GetItem(), mode);
}

std::string FormatItemFindText(const TNotatedItem& item) {
  std::string text;
  switch (item.GetType()) {
    case kItemPatch:
      text = Utf16ToUtf8(ItemRef<TPatchData>(item).GetInstrument().GetName());
      break;
    case kItemTimeSig: {
      const auto& sig = ItemRef<TTimeSignatureData>(item);
      if (sig.GetStyle() != kTimeSigCommon && sig.GetStyle() != kTimeSigAllaBreve) {
        AppendIntText(text, sig.GetBeats());
        text += '/';
        AppendIntText(text, sig.GetBeatValue());
      }
      break;
    }
    case kItemTempo:
      text = Utf16ToUtf8(ItemRef<TTempoData>(item).GetText());
      break;
    case kItemDynamic:
      text = GetNameListEntry(kNameListDynamicsText,
                              ItemRef<TDynamicLevelData>(item).GetLevel());
      break;
    case kItemFlow:
      text = ItemRef<TFlowDirection>(item).GetDisplayText();
      break;
    case kItemTempoVariance: {
      const auto& variance = ItemRef<TTempoVariance>(item);
      if (variance.GetStyle() >= kTempoVarAccelerando) text = variance.GetDisplayText();
      break;
    }
    case kItemDynamicVariance:
      text = ItemRef<TDynamicVariance>(item).GetDisplayText();
      break;
    case kItemPerformanceStyle:
      text = ItemRef<TPerformanceStyle>(item).GetDisplayText();
      break;
    case kItemText:
      text = Utf16ToUtf8(ItemRef<TTextExpression>(item).GetText());
      break;
    default:
      break;
  }
  return text;
}

void WriteItemFindText(TKRVStream& stream, const TNotatedItem& item) {
  WriteBytes(stream, FormatItemFindText(item));
}

}  // namespace kvt
