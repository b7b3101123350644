#pragma once
// TUserObjectHost: what the notation model and playback ask of the scripting host about user
// objects (items whose look and behaviour come from a script plug-in of their type). Measuring
// and drawing them is asked of the drawing side's host (draw/user_object_draw_host.h). The
// scripting subsystem makes the real host and passes it in the services object
// (TServices::userObjectHost); headless runs leave that member null, and the null host
// answers: no type is loaded, objects play nothing, and transposing, spinning or auditing
// leaves their parameters as they are.
//
// Calls come from the UI thread (and from the converter's one thread).

#include <string>
#include <vector>

namespace kvt {

class TKVTUserObject;
class TSimpleNtnIdx;
class TStaffContextState;
class TMidiFileBuf;
struct TServices;

// One entry of a user object's popup as its plug-in offers it. Texts are the plug-in's own
// (UTF-8, "&" not yet doubled).
struct TUserObjectPopupEntry {
  enum TKind : int {
    kCommand = 0,       // a menu entry: choosing it runs the plug-in's menu function
    kChoice = 1,        // a menu entry with a pop-up of `choices`, `checkedChoice` checked
    kEnumProperty = 2,  // the property `property`: a pop-up of its values (`choices`)
    kBoolProperty = 3,  // the property `property`: a check item ("Y" checked, "N" not)
  };
  TKind kind = kCommand;
  std::string text;
  std::string property;
  std::vector<std::string> choices;
  int checkedChoice = -1;  // kChoice: 0-based; -1 none
  bool checked = false;    // kCommand: shown checked
  bool disabled = false;
  bool separatorBefore = false;
};

class TUserObjectHost {
public:
  virtual ~TUserObjectHost() = default;

  // True when a script plug-in of the type is loaded.
  virtual bool IsUserObjectTypeLoaded(const char* typeName) = 0;
  // The names of the loaded types in the host's registry order, at most capacity - 1 of them
  // (none for a capacity of 1 or less). A host that cannot list its types lists none.
  virtual std::vector<std::string> ListLoadedUserObjectTypes(int capacity) { return {}; }
  // Lets the object at the index add its events to the buffer (its script's "play"), with the
  // running state of the walk.
  virtual void PlayUserObject(TSimpleNtnIdx& index, TStaffContextState& state,
                              TMidiFileBuf* buffer) = 0;
  // Runs the script's "audit" of the object at the index (before the staff audit of its span).
  virtual void RunUserObjectAudit(TSimpleNtnIdx& index) = 0;
  // Lets the object at the index lengthen or shorten itself by `steps` (its script's "spin").
  virtual void SpinUserObject(TSimpleNtnIdx& index, int steps) = 0;
  // Lets the object at the index transpose itself (its script's "transpose"), with the running
  // state of the transposing walk.
  virtual void TransposeUserObject(TSimpleNtnIdx& index, const TStaffContextState& state,
                                   int semitones, int keyOffset, bool option) = 0;

  // The entries the object's plug-in adds to its popup (its menu entries, then its enum and
  // yes/no properties). A host without plug-ins offers none.
  virtual std::vector<TUserObjectPopupEntry> GetUserObjectPopup(TSimpleNtnIdx& index) {
    return {};
  }
  // Runs the plug-in's menu function for popup entry `entry` (0-based, a kCommand or kChoice
  // entry of GetUserObjectPopup) and `choice` (0-based; -1 for a command) on `edited`, a copy
  // of the object at the index. True when the plug-in changed the copy, which the caller then
  // writes back to the object (after its undo entry); false leaves the object as it is.
  virtual bool RunUserObjectMenu(TSimpleNtnIdx& index, TKVTUserObject& edited, int entry,
                                 int choice) {
    return false;
  }
};

// No scripts: nothing is loaded or played, and objects keep their parameters.
class TNullUserObjectHost final : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return false; }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}
};

// The services' host; the null host for a null member.
TUserObjectHost& UserObjectHostOf(const TServices& services);

}  // namespace kvt
