#pragma once
// TKVStringList: a list of up to N texts over a TKVMultiField of N slots. The first `count`
// slots are in use; slots from count on are empty. Comparisons follow the list's case rule
// (exact, or ignoring case as in utils/text_case.h).

#include <string>

#include "utils/multi_field.h"

namespace kvt {

class TKVStringList : public TKVMultiField {
public:
  // n slots, none in use. The average length and buffer size are capacity hints.
  explicit TKVStringList(int n, bool ignoreCase = false, int averageLength = 0, int bufferSize = 0);
  // n slots filled by Split; count is the number of fields of the text, at most n (0 for a
  // null or empty text). Case-sensitive.
  TKVStringList(const char* text, char separator, int n);

  int GetCount() const { return count; }
  bool IsFull() const { return count >= GetFieldCount(); }
  bool IsIgnoreCase() const { return ignoreCase; }

  // The index of text among the first count texts, or -1.
  int IndexOf(const char* text) const;
  // The first index from start (below 0: from 0) among the first count texts that begins
  // with text, or -1.
  int FindPrefix(const char* text, int start = 0) const;
  bool Contains(const char* text) const { return IndexOf(text) != -1; }
  // Inserts text before the first text that compares equal or greater. With unique set, an
  // equal text stops the insertion. Returns 1 when inserted, 0 when not (a duplicate, or a
  // full list whose every text sorts before it).
  int InsertSorted(const char* text, bool unique);
  // Appends text when absent and the list has room: 1 when added, 0 otherwise.
  int AddUnique(const char* text);
  // Inserts text at i (clamped to 0..count); the texts from i move down one slot and the text
  // in the last slot drops off; count grows unless the list is full. Inserting at count into a
  // full list does nothing.
  void Insert(int i, const char* text);
  // Removes the text at i when i is from 0 to count-1.
  void Remove(int i);
  // Removes text when present: 1 when removed, 0 otherwise.
  int RemoveText(const char* text);
  // Every slot empty, count 0.
  void Clear();
  // The texts up to the first empty one, joined by the separator.
  std::string Join(char separator) const;

private:
  int Compare(const char* a, const char* b) const;

  int count = 0;
  bool ignoreCase = false;
};

}  // namespace kvt
