#pragma once
// TLuaStateLimits: what keeps one Lua state inside its bounds: an allocator with a hard cap on
// the bytes the state holds, and a wall-clock deadline for the running call.
//
// The object is the allocator's user data of the state it makes (NewState), so any function
// running in the state finds it again (FromState). It must outlive the state.
//
// Memory: while the cap is enforced, an allocation that would take the state past the cap is
// refused, and Lua raises its memory error (after an emergency collection). Host code that
// touches the state outside a script call runs with the cap lifted (TCapScope), so the host
// itself never meets a memory error outside protected mode.
//
// Time: the count hook and every C function that can run long (pattern matching, string
// repetition, sorting, joining) call CheckScriptDeadline; once the deadline has passed the
// owner decides (OnDeadlinePassed): the sandbox raises its error, the user-tool runtime asks
// the user. Deadlines nest (TDeadlineScope); time spent in a dialog is not charged
// (TDialogTimeScope).

#include <cstddef>
#include <cstdint>

#include <lua.hpp>

namespace kvt {

class TLuaStateLimits {
public:
  explicit TLuaStateLimits(size_t capBytes);
  virtual ~TLuaStateLimits();
  TLuaStateLimits(const TLuaStateLimits&) = delete;
  TLuaStateLimits& operator=(const TLuaStateLimits&) = delete;

  // A new state on this allocator; null when even that fails. The caller closes it.
  lua_State* NewState();
  // The limits of a state made by NewState; null for any other state.
  static TLuaStateLimits* FromState(lua_State* L);

  // --- memory ---
  size_t GetCap() const { return cap; }
  size_t GetBytesInUse() const { return inUse; }
  // Allocations and reallocations to a non-zero size since the state was made.
  int64_t GetAllocationCount() const { return allocations; }
  void ResetAllocationCount() { allocations = 0; }
  // True once an allocation has been refused since the last ClearRefused.
  bool WasRefused() const { return refused; }
  void ClearRefused() { refused = false; }

  // Lifts the cap for host code running outside script calls; scopes nest.
  class TCapScope {
  public:
    TCapScope(TLuaStateLimits& limits, bool enforce);
    ~TCapScope();
    TCapScope(const TCapScope&) = delete;
    TCapScope& operator=(const TCapScope&) = delete;

  private:
    TLuaStateLimits& limits;
    bool saved;
  };

  // --- time ---
  int64_t GetDeadline() const { return deadline; }
  // deadline = now + milliseconds.
  void SetDeadline(int64_t milliseconds);
  // deadline - now (negative once passed).
  int64_t GetRemainingTime() const;
  bool IsPastDeadline() const;
  // Called once the deadline has passed: raises a Lua error in L, or re-arms and returns.
  virtual void OnDeadlinePassed(lua_State* L) = 0;

  // A call's own deadline of `milliseconds`: the outer call's deadline when that comes first;
  // the outer deadline comes back (moved by any dialog time in between) when the scope ends.
  class TDeadlineScope {
  public:
    TDeadlineScope(TLuaStateLimits& limits, int64_t milliseconds);
    ~TDeadlineScope();
    TDeadlineScope(const TDeadlineScope&) = delete;
    TDeadlineScope& operator=(const TDeadlineScope&) = delete;

  private:
    TLuaStateLimits& limits;
    int64_t outerDeadline;
    int64_t pausedAtStart;
  };

  // The time of a dialog is not charged: the running deadline, and every outer one, moves on
  // by the time the dialog was open.
  class TDialogTimeScope {
  public:
    explicit TDialogTimeScope(TLuaStateLimits& limits);
    ~TDialogTimeScope();
    TDialogTimeScope(const TDialogTimeScope&) = delete;
    TDialogTimeScope& operator=(const TDialogTimeScope&) = delete;

  private:
    TLuaStateLimits& limits;
    int64_t openedAt;
  };

private:
  static void* Allocate(void* ud, void* ptr, size_t osize, size_t nsize);

  size_t cap;
  size_t inUse = 0;
  int64_t allocations = 0;
  bool refused = false;
  bool enforced = true;
  int64_t deadline = 0;
  int callDepth = 0;
  int64_t pausedTotal = 0;
};

// For C functions that loop: asks the state's limits whether the deadline has passed (a Lua
// error when the owner says so). States without limits pass.
void CheckScriptDeadline(lua_State* L);

// Counts the steps of a long C loop and checks the deadline every 1024 steps.
class TScriptStepBudget {
public:
  explicit TScriptStepBudget(lua_State* L) : L(L) {}
  void Step() {
    if (++steps >= 1024) {
      steps = 0;
      CheckScriptDeadline(L);
    }
  }
  // Counts n steps at once (for work done in bulk, such as a block copy).
  void Steps(size_t n) {
    steps += n;
    if (steps >= 1024) {
      steps = 0;
      CheckScriptDeadline(L);
    }
  }

private:
  lua_State* L;
  size_t steps = 0;
};

}  // namespace kvt
