#pragma once
// TLuaRunContext: what one call into the sandbox is about. The record lives on the caller's
// stack for the length of the call; calls nest through `previous` (a method may cause another
// call), and the host restores the outer record when an inner call ends, also after an error.

#include <cstdint>

namespace kvt {

class TSimpleNtnIdx;
class TKVTUserObject;
class TStaffContextState;
class TMidiFileBuf;

enum class TLuaRunKind : int {
  kInit = 0,     // loading a type's script, the toolbox, or a host call of its own
  kEdit = 1,     // creating or editing a user object (dialogs allowed with an owner window)
  kPredraw = 2,
  kDraw = 3,
  kVPlay = 4,    // playback compilation, reading only
  kPlay = 5,     // playback compilation, adding events
  kFetch = 6,
};

struct TLuaRunContext {
  TLuaRunKind kind = TLuaRunKind::kInit;
  TLuaRunContext* previous = nullptr;  // set by the host
  uint64_t serial = 0;                 // set by the host: one number per call
  // The user object the call is about (kinds 1-6): the index stands on it.
  TSimpleNtnIdx* index = nullptr;
  // Kind 1: the object being made or edited, and the window that owns dialogs (null when
  // dialogs are not allowed, and cleared when the user cancels one).
  TKVTUserObject* userObject = nullptr;
  void* ownerWindow = nullptr;
  // Kinds 4 and 5: the running staff state of the play walk; kind 5: where events go, and
  // whether the staff is muted (note events are then dropped).
  TStaffContextState* playState = nullptr;
  TMidiFileBuf* events = nullptr;
  bool muted = false;
};

}  // namespace kvt
