#pragma once
// TKVMultiField: a fixed number N of texts (fields), addressed by index 0 to N-1. Texts are
// UTF-8; separators are single ASCII bytes, so walking a text byte by byte never takes part of
// a multi-byte character for a separator.
//
// Stream form (WriteTo and the stream constructor), all numbers 16-bit little-endian:
//   N, used bytes + 2, growth step, then the N fields each followed by one zero byte.
// "Used bytes" is the packed size of the fields: the sum of (length + 1) over all fields.
//
// Pointers returned by GetItem stay valid until the next change of the table.

#include <initializer_list>
#include <string>
#include <vector>

namespace kvt {

class TKRVStream;

class TKVMultiField {
public:
  static constexpr int kDefaultGrowth = 16;

  // n empty fields (a negative n counts as 0). The buffer size of the packed form is only a
  // capacity hint here.
  explicit TKVMultiField(int n = 0, int bufferSize = 0);
  // A table filled by Split(text, separator). A negative n becomes the number of fields of the
  // text (separators + 1; 0 for a null text).
  TKVMultiField(const char* text, char separator, int n);
  // One field per text, in order; a null text gives an empty field. Braces pick this form
  // (TKVMultiField{0} is one empty field); parentheses give the count form.
  TKVMultiField(std::initializer_list<const char*> texts);
  // Reads a table written by WriteTo. A table whose counts contradict each other (more fields
  // than bytes, a field running past the declared size, bytes left over) is corrupt: the
  // stream's failed flag is set and the fields read so far are kept. Counts are 16-bit, so
  // the table holds at most 65535 fields of at most 65533 bytes in all. At the end of the
  // data the stream's error flag is set and the missing fields stay empty.
  explicit TKVMultiField(TKRVStream& stream);

  // Writes the stream form. A table too large for its 16-bit counts is not written: the
  // stream's failed flag is set instead, so no truncated record is ever stored.
  void WriteTo(TKRVStream& stream) const;

  // N.
  int GetFieldCount() const { return static_cast<int>(fields.size()); }
  // The packed size: the sum of (length + 1) over all fields.
  int GetUsedBytes() const;

  // The text of field i; "" for an index outside 0..N-1.
  const char* GetItem(int i) const;
  // Replaces field i; an index outside 0..N-1 is ignored; null counts as "".
  void SetItem(int i, const char* text);
  // Adds a field at index i (outside 0..N: at N); N grows by one; null inserts "".
  void InsertItem(int i, const char* text);
  // Fields after i move down one index and the last field becomes empty; N is unchanged.
  // An index outside 0..N-1 is ignored.
  void RemoveItem(int i);
  // Every field empty.
  void ClearAll();
  // Refills every field from the text: the part before the first separator becomes field 0,
  // and so on; after field N-1 the rest of the text is dropped; fields the text does not reach
  // are empty. A null or empty text leaves every field empty.
  void Split(const char* text, char separator);
  // The index of the first field equal to text (exactly or ignoring case), or notFound. The
  // search stops at the first empty field, so an empty text is never found.
  int Find(const char* text, bool ignoreCase, int notFound) const;

  void SetGrowth(int step) { growth = step; }
  int GetGrowth() const { return growth; }

protected:
  std::vector<std::string> fields;

private:
  // Kept for the stream form; storage here grows as the strings need, so the step divides
  // nothing and 0 is harmless.
  int growth = kDefaultGrowth;
};

// The number of fields of a text: separators + 1; 0 for a null text.
int CountFieldsOf(const char* text, char separator);

}  // namespace kvt
