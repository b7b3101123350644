#pragma once
// The kvt.ntnidx object: a notation index that scripts move over the staff of the user object
// a call is about. Positions are item counts relative to that object (0 = the object itself);
// staff positions are given upward positive. An object used in a later call than the one that
// last used it first goes back to that call's object, so a kept object never points into a
// staff it no longer belongs to.
//
// Methods: new, reset, find, indexOffset, objType, objProp, propTable, userType, userProp,
// staffPos, sppOffset, noteCount, notePos, notePitchPos, durationBase, noteDurBase, stemDir,
// articulationCount, and the note flags isLyricPos ... isSplitVoice; comparisons (==, <, <=)
// by item index, with an object or an offset. Every method except new needs a user-object
// call ("Invalid user object context"); new is allowed only while a script loads ("not
// allowed here"). Arguments are checked: a wrong one is a Lua error, never a crash.

#include <lua.hpp>

namespace kvt {

inline constexpr char kNtnIdxMetatable[] = "kvt.ntnidx";
// The most item type names one objType search takes.
inline constexpr int kMaxFindTypeNames = 15;

}  // namespace kvt
