#pragma once
// Internal to the score text writer: the builder of one item record line. Each kind's fields
// are appended in the order of the format; the kind's writer decides which fields a mode
// omits at their defaults.

#include <string>
#include <string_view>

namespace kvt {

class TNotatedItem;
class TSongNote;
class TMusicNote;
class TRestNote;
class TNtnGeneralExpression;

class TItemLineFormatter {
public:
  TItemLineFormatter(std::string& out, int mode) : out(out), mode(mode) {}

  // The whole record line of the item.
  void AppendItem(const TNotatedItem& item);

  // Field pieces shared by the writers.
  // "|name:" (name without colon).
  void FieldStart(std::string_view name);
  void IntField(std::string_view name, int64_t value);
  void RealField(std::string_view name, double value);
  void FlagField(std::string_view name, bool on);
  // The entry `value` of a name list ("***" outside it), as UTF-8.
  void NameField(std::string_view name, int list, int value);
  void AppendName(int list, int value);
  void QuotedField(std::string_view name, std::string_view utf8);
  void WideField(std::string_view name, std::u16string_view text);

  // Song notes (score_text_note_writer.cpp).
  void AppendDuration(const TSongNote& note);
  // owner: the chord the note is a member of, or null.
  void AppendPosition(const TMusicNote& note, const TMusicNote* owner = nullptr);
  void AppendPositions(const TMusicNote& note, bool allMembers, int stemDir);
  void AppendSongNoteOptions(const TSongNote& item, const TMusicNote* notes, const TRestNote* rest);
  void AppendNote(const TMusicNote& note);
  void AppendChord(const TMusicNote& chord);
  void AppendRest(const TRestNote& rest);
  void AppendRestChord(const TRestNote& restChord);

  bool IsLone() const { return mode != 0; }

private:
  void AppendKindFields(const TNotatedItem& item);
  void AppendExpressionFields(const TNtnGeneralExpression& expression);
  void AppendCommonFields(const TNotatedItem& item);
  // The first option is preceded by "|Opts:", each further one by ",".
  void OptionStart();

  std::string& out;
  const int mode;
  bool optionsOpen = false;
};

}  // namespace kvt
