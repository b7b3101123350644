#include "draw/items/expression_texts.h"

#include <array>
#include <cstddef>
#include <cstdio>

#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"

namespace kvt {

namespace {
constexpr std::array<const char*, kMpcControllerCount> kMpcNames{
    "tempo", "vol", "pan", "bc",  "pitch",  "mod",     "foot",   "portamento", "datamsb",
    "bal",   "exp", "fx1", "fx2", "reverb", "tremolo", "chorus", "detune",     "phaser"};

std::string Decimal(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", value);
  return buffer;
}
}  // namespace

TEndingText BuildEndingText(const TSpecialEnding& ending, bool withMarks) {
  TEndingText text;
  text.numbers = " ";
  bool numbered = false;
  for (int n = 1; n <= kMaxEndingNumber; ++n) {
    if (!ending.HasEnding(n)) continue;
    text.numbers += Decimal(n);
    text.numbers += '.';
    numbered = true;
  }
  if (withMarks) {
    if (!numbered) text.marks = "...";
    if (ending.HasDefaultEnding()) text.marks += "D.";
  }
  return text;
}

std::string MpcLabel(const TGenericControl& control) {
  const int controller = control.GetController();
  const char* name = controller >= 0 && controller < kMpcControllerCount
                         ? kMpcNames[static_cast<std::size_t>(controller)]
                         : "?";
  return std::string("[mpc:") + name + "]";
}

TTempoMarkParts BuildTempoMark(const TTempoData& tempo) {
  TTempoMarkParts parts;
  int base = tempo.GetBase();
  if (base < 0 || base >= kTempoBaseCount) base = kTempoQuarter;
  parts.hasText = !tempo.GetText().empty();
  parts.noteGlyph = kGlyphTempoNoteFirst + base / 2;
  parts.tail = (base % 2 == 1) ? "." : " ";
  parts.tail += '=';
  parts.tail += Decimal(tempo.GetTempo());
  if (parts.hasText) parts.tail += ')';
  return parts;
}

TFlowParts BuildFlowParts(const TFlowDirection& flow) {
  TFlowParts parts;
  switch (flow.GetStyle()) {
    case kFlowCoda:
      parts.main = "Coda";
      parts.symbol = kGlyphCoda;
      break;
    case kFlowSegno:
      parts.symbol = kGlyphSegno;
      parts.symbolCounts = true;
      break;
    case kFlowFine: parts.main = "Fine"; break;
    case kFlowToCoda:
      parts.main = "To Coda ";
      parts.symbol = kGlyphCoda;
      parts.symbolCounts = true;
      break;
    case kFlowDaCapo: parts.main = "D.C."; break;
    case kFlowDCalCoda: parts.main = "D.C. al Coda"; break;
    case kFlowDCalFine: parts.main = "D.C. al Fine"; break;
    case kFlowDalSegno:
      parts.main = "D.S.";
      parts.symbol = kGlyphSegno;
      parts.symbolCounts = true;
      break;
    case kFlowDSalCoda:
      parts.main = "D.S.";
      parts.suffix = " al Coda";
      parts.symbol = kGlyphSegno;
      parts.symbolCounts = true;
      break;
    case kFlowDSalFine:
      parts.main = "D.S.";
      parts.suffix = " al Fine";
      parts.symbol = kGlyphSegno;
      parts.symbolCounts = true;
      break;
    default: break;
  }
  return parts;
}

int TempoVarianceGlyph(const TTempoVariance& variance, float position) {
  switch (variance.GetStyle()) {
    case kTempoVarBreathMark: return kGlyphBreathMark;
    case kTempoVarCaesura: return kGlyphCaesura;
    case kTempoVarFermata: return position >= 1.0f ? kGlyphFermataBelow : kGlyphFermata;
    default: return 0;
  }
}

}  // namespace kvt
