#pragma once
// TKVVariant: a tagged value (text, number, yes/no or date) with a per-value display format,
// as list columns, review fields, property dialogs and the script bridge use it.
//
// | type | kind                        | display format                                       |
// |------|-----------------------------|------------------------------------------------------|
// | 0    | empty                       | -                                                    |
// | 1    | narrow text, not owned      | -                                                    |
// | 2    | narrow text, owned copy     | -                                                    |
// | 3    | integer (32-bit)            | 0 "%d"; 1 "%x"; 2 "+%d" when positive, else "%d";    |
// |      |                             | 3 "%d" but "" for 0; 4 "%08x"; 5 value/192 "%08.2f";  |
// |      |                             | 6 value/768 "%07.3f"; any other "%d"                 |
// | 4    | yes/no (non-zero is yes)    | bits 0-6 the word pair: 0 "1"/"0", 1 "Y"/"N",        |
// |      |                             | 2 "Yes"/"No", 3 "True"/"False", 4 "On"/"Off" (beyond |
// |      |                             | 4: pair 0); bit 7 shows no as ""                     |
// | 5    | real (32-bit float)         | 1 "$%01.2f"; 2 "%01.2f"; any other "%g"              |
// | 6    | date (TKVDate)              | the date text form 0 to 3                            |
// | 7    | wide text, not owned        | -                                                    |
// | 8    | wide text, owned copy       | -                                                    |
//
// Narrow texts are in the ANSI code page (Windows-1252), one byte per character; wide texts are
// UTF-16. Numbers display as printf does in the "C" locale, whatever the locale. A text that is
// not owned must outlive its use by the variant; a null pointer reads as the empty text.

#include <cstdint>
#include <memory>
#include <string>

#include "utils/date.h"

namespace kvt {

class TKVVariant {
public:
  enum Type : uint8_t {
    kEmpty = 0,
    kStringRef = 1,
    kString = 2,
    kInt = 3,
    kBool = 4,
    kReal = 5,
    kDate = 6,
    kWideStringRef = 7,
    kWideString = 8,
  };

  TKVVariant() = default;
  // Copies own their own copy of an owned text; references stay references.
  TKVVariant(const TKVVariant& other);
  TKVVariant& operator=(const TKVVariant& other);
  TKVVariant(TKVVariant&& other) noexcept;
  TKVVariant& operator=(TKVVariant&& other) noexcept;
  ~TKVVariant() = default;

  Type GetType() const { return type; }
  int GetFormat() const { return format; }

  // Frees an owned text; empty.
  void Clear();
  void SetInt(int32_t value, int format = 0);
  void SetBool(int32_t value, int format = 0);
  // Yes with format i when text is word i of the yes list (ignoring case); otherwise no with
  // the index of the text in the no list as format (0 when absent).
  void SetBoolFromText(const char* text);
  void SetReal(float value, int format = 0);
  // A leading "$" is skipped and gives format 1, else format 0; the rest is read as "%f"
  // reads it (0 when it holds no number).
  void SetRealFromText(const char* text);
  // An owned copy; a null or empty text leaves the variant empty.
  void SetString(const char* text);
  void SetWideString(const char16_t* text);
  // The pointer itself, not a copy.
  void SetStringRef(const char* text);
  void SetWideStringRef(const char16_t* text);
  void SetDate(TKVDate date, int format = 0);
  // Tries the date text forms 0 to 4 in turn; the first that reads gives a date of format 0.
  // When none reads, the variant is empty and the result false.
  bool SetDateFromText(const char* text);

  // The display text (wide texts converted to the ANSI code page), cut to size-1 bytes;
  // returns buffer. Nothing is written for a size of 0 or below.
  const char* GetText(char* buffer, int size) const;
  // Narrow texts converted from the ANSI code page, wide texts as they are, every other type's
  // display text converted from Windows-1252; cut to size-1 units without splitting a
  // surrogate pair. Returns buffer.
  const char16_t* GetWideText(char16_t* buffer, int size) const;
  // A width estimate in characters: empty 3; texts their length; integer 17; yes/no 5; date
  // 10 for format 0, 11 for format 2, else 20; real 32.
  int TextWidth() const;

  // Integers and yes/no converted, reals as they are, others 0.
  double GetReal() const;
  // Integers and yes/no as they are, reals truncated toward zero (clamped to the 32-bit range;
  // NaN gives 0), others 0.
  int32_t GetIntValue() const;
  // As GetIntValue; texts, dates and empty give their truth value (1 or 0).
  int32_t GetInt() const;
  // The text pointer of a narrow (wide) text variant, else null.
  const char* GetString() const;
  const char16_t* GetWideString() const;

  bool IsEmpty() const { return type == kEmpty; }
  // Texts: a first character that is not 0; integers, yes/no and dates: non-zero; reals: not
  // 0.0; empty: false.
  bool IsTrue() const;

  // -1, 0 or 1. Variants of the same type compare by value: texts ignoring case (as
  // CompareWideIgnoreCase of utils/text_case.h, narrow texts taken from Windows-1252),
  // integers and yes/no values numerically, reals numerically with every NaN equal to every
  // other NaN and after every number, dates by their packed value; two empties are equal.
  // Variants of different types compare their wide texts (GetWideText of 128 units) ignoring
  // case. Within one type this is a strict weak order, so sorting with it is well-defined.
  int Compare(const TKVVariant& other) const;

private:
  void CopyFrom(const TKVVariant& other);
  void MoveFrom(TKVVariant& other) noexcept;
  // The whole display text, narrow, in Windows-1252.
  std::string DisplayText() const;
  // The text as UTF-16, for wide comparison.
  std::u16string WideTextForCompare() const;

  Type type = kEmpty;
  uint8_t format = 0;
  union {
    int32_t integer;
    float real;
    uint16_t date;
    const char* text;
    const char16_t* wideText;
  } payload{0};
  // Storage of an owned text (types 2 and 8); payload points into it. Heap storage keeps the
  // pointer valid when the variant moves.
  std::unique_ptr<char[]> ownedText;
  std::unique_ptr<char16_t[]> ownedWideText;
};

}  // namespace kvt
