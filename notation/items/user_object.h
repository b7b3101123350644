#pragma once
// TKVTUserObject (type code 19, "User"): an item whose look and behaviour come from a script
// plug-in of its type (see notation/services/user_object_host.h). The item stores only the type name, a
// real vertical position, a class and up to 16 named text parameters; it has no effect on the
// running state, no MIDI output of its own and no duration.
//
// Parameters: names in insertion order, each with a value text at the same index. Names
// compare exactly (with case). Type and parameter names follow the rules of IsValidTypeName and
// IsValidParamName; an invalid parameter name is never stored.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "notation/items/notated_item.h"

namespace kvt {

class TKVVariant;

inline constexpr int kMaxUserParams = 16;
inline constexpr int kMaxUserTypeNameChars = 63;

enum TUserObjectClass : int {
  kUserClassStandard = 0,
  kUserClassStaffSig = 1,
};

class TKVTUserObject : public TNotatedItem {
public:
  // Type name cut to 63 characters, Pos -7, class Standard, no parameters.
  explicit TKVTUserObject(std::string_view typeName = "Null");

  // Assigns through Assign.
  TKVTUserObject& operator=(const TKVTUserObject& src);

  static constexpr TNotatedItemType kType = kItemUserObject;

  TNotatedItemType GetType() const override { return kType; }
  // Base attributes; from a user object also: every parameter removed, then type name, Pos and
  // class copied and each of the source's parameters set by name.
  void Assign(const TNotatedItem& src) override;
  // Pos as an integer (truncated).
  int GetStaffPos() const override;
  void SetStaffPos(int pos) override { SetPos(pos); }

  const std::string& GetTypeName() const { return typeName; }
  // Cut to 63 characters (on a UTF-8 character boundary).
  void SetTypeName(std::string_view name);
  // Staff steps, positive downward, kept to hundredths (see notation/items/item_position.h).
  float GetPos() const { return pos; }
  void SetPos(double x);
  int GetClass() const { return objectClass; }
  void SetClass(int value) { objectClass = value; }
  // The built-in selector object (".selector").
  bool IsSelector() const { return typeName == ".selector"; }

  // --- parameters (indexes 0-based) ---
  int GetParamCount() const { return static_cast<int>(names.size()); }
  // Empty for an index outside the parameters.
  std::string_view GetParamName(int i) const;
  // The value slot i (0-15); empty outside.
  std::string_view GetParamValue(int i) const;
  int FindParamIndex(std::string_view name) const;
  // The value of the named parameter; null when absent.
  const std::string* FindParamValue(std::string_view name) const;
  // True when the parameter exists, is not empty and reads as an integer ("%d": leading
  // blanks, a sign and digits; the rest of the text is ignored; out-of-range numbers fail).
  bool GetParamInt(std::string_view name, int& out) const;
  // The same for a real number ("%f").
  bool GetParamReal(std::string_view name, double& out) const;
  // -1 for an invalid name; the index of an existing name; otherwise the name is appended with
  // an empty value, or -1 when all 16 entries are used.
  int AddParamName(std::string_view name);
  // Ignored for an index outside 0-15.
  void SetParamValueAt(int i, std::string_view text);
  // SetParamValueAt(AddParamName(name), text).
  void SetParam(std::string_view name, std::string_view text);
  // "%d" and "%g" (C locale) forms of the number.
  void SetParamInt(std::string_view name, int n);
  void SetParamReal(std::string_view name, double x);
  // Sets the variant's text as the value: narrow texts as they are, wide texts in UTF-8, every
  // other kind its display text (at most 127 characters). An empty variant is taken only in
  // mode 2; integers, yes/no values and reals only in modes other than 0 and 1.
  void SetParamFromVariant(std::string_view name, const TKVVariant& value, int mode);
  // Removes the parameter; later ones move down one index. Ignored outside the parameters.
  void RemoveParamAt(int i);
  // Ignored when absent.
  void RemoveParam(std::string_view name);
  // Removes every name and empties the 16 value slots.
  void ClearParams();

  // Non-empty, not beginning with a space, only letters A-Z a-z, digits and "-_ .", shorter
  // than 64 characters.
  static bool IsValidTypeName(std::string_view name);
  // A valid type name not beginning with "." (those are built-in types).
  static bool IsValidUserTypeName(std::string_view name);
  // Non-empty, none of "Class", "Pos", "Visibility", "Color", and none of the characters
  // : ' " \ | [ ] space, tab, CR, LF.
  static bool IsValidParamName(std::string_view name);

private:
  std::string typeName;
  float pos;
  int32_t objectClass;
  std::vector<std::string> names;
  std::array<std::string, kMaxUserParams> values;
};

}  // namespace kvt
