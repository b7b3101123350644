#pragma once
// TNotatedItem: the base of every item that stands in a staff's item array (clef, key, bar line,
// note, chord, rest, expression, user object ...).
//
// Contract for item classes built on this base:
// - Each concrete class answers its type code (TNotatedItemType) from GetType and overrides
//   the virtual operations its kind needs; the base behaviour of each is given beside it.
// - Items are owned by exactly one container (a staff's item array, a chord's member array or a
//   rest chord's part); the owner deletes them through the virtual destructor. Items cannot be
//   copied or moved: Assign copies settings between existing items.
// - Assign overrides first call the base (which copies Visibility and Colour from any kind),
//   then copy their own fields only when the source is of a compatible kind (test it with
//   GetType or the kind predicates, never by comparing classes).
// - Item fields are packed bit fields read and written only through accessors; setters mask to
//   the field's width (notation/items/packed_field.h) and clamp where the kind needs it. Nothing
//   outside the item classes looks at an item's bytes.
// - A staff walk in play order calls, for each item reached, Perform, then GetNextPlayIndex,
//   then ApplyToContext, all with the running state as it stood before the item. Perform and
//   ApplyToContext never change the item itself.
// - Staff positions count steps from the middle line, positive downward (top line of a
//   five-line staff -4, bottom line +4).
//
// Items hold what is stored in a score and how it plays; they neither measure nor draw
// themselves. Drawing is done outside the item (in draw/), by one dispatch on the type code,
// and its layout results (draw positions) are kept there, apart from the item's fields.

#include <cstdint>

namespace kvt {

class TStaffContextState;
class TMidiFileBuf;
class TMusicStaff;
class TMusicNote;
class TRestNote;

// Item type codes (GetType). The score text format names the kinds in this order.
enum TNotatedItemType : int {
  kItemClef = 0,               // TClefData "Clef"
  kItemKey = 1,                // TKeyData "Key"
  kItemBarLine = 2,            // TBarLineData "Bar"
  kItemEnding = 3,             // TSpecialEnding "Ending"
  kItemPatch = 4,              // TPatchData "Instrument"
  kItemTimeSig = 5,            // TTimeSignatureData "TimeSig"
  kItemTempo = 6,              // TTempoData "Tempo"
  kItemDynamic = 7,            // TDynamicLevelData "Dynamic"
  kItemNote = 8,               // TMusicNote "Note"
  kItemRest = 9,               // TRestNote "Rest"
  kItemChord = 10,             // TChordData "Chord"
  kItemSustainPedal = 11,      // TSustainPedal "SustainPedal"
  kItemFlow = 12,              // TFlowDirection "Flow"
  kItemGenericControl = 13,    // TGenericControl "MPC"
  kItemTempoVariance = 14,     // TTempoVariance "TempoVariance"
  kItemDynamicVariance = 15,   // TDynamicVariance "DynamicVariance"
  kItemPerformanceStyle = 16,  // TPerformanceStyle "PerformanceStyle"
  kItemText = 17,              // TTextExpression "Text"
  kItemRestChord = 18,         // TRestChord "RestChord"
  kItemUserObject = 19,        // TKVTUserObject "User"
  kItemSpacer = 20,            // TStaffSpacer "Spacer"
  kItemMultiBarRest = 21,      // TMultiMeasureRest "RestMultiBar"
  kItemBoundary = 22,          // TStaffSizer "Boundary"
  kItemMarker = 23,            // TNotationMarker "Marker"
};
inline constexpr int kItemTypeCount = 24;

// Visibility values (low 4 bits of the attribute byte).
enum TItemVisibility : int {
  kVisDefault = 0,      // "Default"
  kVisAlways = 1,       // "Always"
  kVisTopStaff = 2,     // "TopStaff"
  kVisSingleStaff = 3,  // "SingleStaff"
  kVisMultiStaff = 4,   // "MultiStaff"
  kVisNever = 5,        // "Never"
};
inline constexpr int kVisibilityCount = 6;

// Item colours (high 4 bits of the attribute byte): 0 "Default", 1 to 7 "Highlight 1" to 7.
inline constexpr int kItemColorCount = 8;

class TNotatedItem {
public:
  TNotatedItem() = default;
  TNotatedItem(const TNotatedItem&) = delete;
  TNotatedItem& operator=(const TNotatedItem&) = delete;

  virtual ~TNotatedItem();
  // The kind's type code.
  virtual TNotatedItemType GetType() const = 0;
  // Base copies Visibility and Colour from an item of any kind.
  virtual void Assign(const TNotatedItem& src);
  // The member notes. Base: 0 and null. A note answers 1 and itself; chords their members;
  // rest chords their part's. GetMember outside 0..count-1 answers null. Constness is
  // shallow: a const item hands out its members for reading and for the owner's edits alike.
  virtual int GetMemberCount() const;
  virtual TMusicNote* GetMember(int i) const;
  // A rest or rest chord answers itself; base null.
  virtual TRestNote* AsRest() const;
  // Kind predicates; base false.
  virtual bool IsMusicNoteClass() const;   // note, chord
  virtual bool IsSongNoteClass() const;    // note, chord, rest, rest chord
  virtual bool HasNotes() const;           // note, chord; a rest chord with a chord part
  virtual bool IsRestClass() const;        // rest, rest chord
  virtual bool IsExpressionClass() const;  // every expression
  // The item's staff position; base 0.
  virtual int GetStaffPos() const;
  // Smallest and largest staff position the drawn item covers; base GetStaffPos().
  virtual int GetTopPos() const;
  virtual int GetBottomPos() const;
  // Moves the item to a staff position; base does nothing.
  virtual void SetStaffPos(int pos);
  // Moves the running staff state over the item without output; base nothing.
  virtual void ApplyToContext(TStaffContextState& state) const;
  // Duration in ticks (768 a whole note); base 0.
  virtual int GetDuration() const;
  // Appends the item's MIDI events at the state's song position; base nothing.
  // `buffer` may be null (then nothing is emitted).
  virtual void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const;
  // The index of the item to play next; base index + 1.
  virtual int GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff, int index) const;

  // Visibility; a value outside 0-5 is stored as 0 (Default), so the stored bits always name
  // one of TItemVisibility.
  TItemVisibility GetVisibility() const { return static_cast<TItemVisibility>(attribute & 0x0F); }
  void SetVisibility(int visibility);
  // Colour 0-7; a value outside 0-7 is stored as 0 (Default), so drawing can index its colour
  // table with 8 + colour.
  int GetColor() const { return attribute >> 4; }
  void SetColor(int color);

  // The first member at staff position pos, walking members from the lowest (largest position);
  // null when the walk reaches a member above pos first or none matches.
  TMusicNote* FindMemberAtPos(int pos) const;
  // The first member at pos whose raw accidental matches (5 on either side matches any) and
  // that ties on (wantTieIn false) or continues a tie (wantTieIn true). With stopAtHiddenTie, a
  // matching member that both continues and ties on while the item's Visibility is Never ends
  // the search with null.
  TMusicNote* FindTieMember(int pos, bool wantTieIn, int accidental, bool stopAtHiddenTie) const;

protected:
  // Raw attribute byte: low 4 bits Visibility, high 4 bits Colour.
  uint8_t GetAttribute() const { return attribute; }

private:
  uint8_t attribute = 0;
};

}  // namespace kvt
