#pragma once
// TUserObjectDrawHost: what the drawing code asks of the scripting host about user objects
// (items whose look comes from a script plug-in of their type): the width of an object's draw
// position and its drawing. Playing, auditing, spinning and transposing them is asked of the
// notation side's host (notation/services/user_object_host.h).
//
// There is no installed instance: the caller of measuring and drawing passes the host in, and
// passes the null host when no scripts run (headless runs, tests). The host is not owned by
// those it is passed to and must outlive the call. Calls come from the UI thread (and from the
// converter's one thread).

namespace kvt {

class TSimpleNtnIdx;
class TStaffLayoutView;
class TStaffDrawPos;

class TUserObjectDrawHost {
public:
  virtual ~TUserObjectDrawHost();

  // The width the script of the object at the index reports for its draw position in the
  // layout; 0 when it cannot say.
  virtual int UserObjectWidth(TSimpleNtnIdx& index, TStaffLayoutView& layout,
                              TStaffDrawPos& drawPos) = 0;
  // Lets the script of the object at the index draw it at x.
  virtual void UserObjectDraw(TSimpleNtnIdx& index, TStaffLayoutView& layout,
                              TStaffDrawPos& drawPos, int x) = 0;
};

// No scripts: objects measure 0 and draw nothing.
class TNullUserObjectDrawHost final : public TUserObjectDrawHost {
public:
  int UserObjectWidth(TSimpleNtnIdx&, TStaffLayoutView&, TStaffDrawPos&) override { return 0; }
  void UserObjectDraw(TSimpleNtnIdx&, TStaffLayoutView&, TStaffDrawPos&, int) override {}
};

}  // namespace kvt
