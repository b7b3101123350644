#pragma once
// TUserObjectHost: what the notation model and playback ask of the scripting host about user
// objects (items whose look and behaviour come from a script plug-in of their type). Measuring
// and drawing them is asked of the drawing side's host (draw/user_object_draw_host.h). The
// scripting subsystem installs the real host at start-up; until then, and in headless runs,
// the null host answers: no type is loaded, objects play nothing, and transposing, spinning or
// auditing leaves their parameters as they are.
//
// Calls come from the UI thread (and from the converter's one thread); the host is installed
// before any of them and stays installed until shutdown.

#include <string>
#include <vector>

namespace kvt {

class TSimpleNtnIdx;
class TStaffContextState;
class TMidiFileBuf;

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

// The installed host; the null host when none is installed.
TUserObjectHost& GetUserObjectHost();
// Installs a host (not owned; it must outlive its installation). Null installs the null host.
void InstallUserObjectHost(TUserObjectHost* host);
// Whether a host other than the null host is installed.
bool HasUserObjectHost();

}  // namespace kvt
