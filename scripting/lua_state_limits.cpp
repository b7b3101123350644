#include "scripting/lua_state_limits.h"

#include <algorithm>
#include <cstdlib>

#include "scripting/script_clock.h"

namespace kvt {

TLuaStateLimits::TLuaStateLimits(size_t capBytes) : cap(capBytes) {}

TLuaStateLimits::~TLuaStateLimits() = default;

lua_State* TLuaStateLimits::NewState() {
  TCapScope unlimited(*this, false);
  return lua_newstate(&TLuaStateLimits::Allocate, this);
}

TLuaStateLimits* TLuaStateLimits::FromState(lua_State* L) {
  void* ud = nullptr;
  if (L == nullptr || lua_getallocf(L, &ud) != &TLuaStateLimits::Allocate) return nullptr;
  return static_cast<TLuaStateLimits*>(ud);
}

void* TLuaStateLimits::Allocate(void* ud, void* ptr, size_t osize, size_t nsize) {
  auto* self = static_cast<TLuaStateLimits*>(ud);
  // Without a block, osize only tells the kind of object being made.
  const size_t oldSize = ptr != nullptr ? osize : 0;
  if (nsize == 0) {
    std::free(ptr);
    self->inUse -= oldSize;
    return nullptr;
  }
  if (nsize > oldSize && self->enforced && nsize - oldSize > self->cap - std::min(self->cap, self->inUse)) {
    self->refused = true;
    return nullptr;
  }
  void* block = std::realloc(ptr, nsize);
  if (block == nullptr) return nullptr;
  ++self->allocations;
  self->inUse = self->inUse - oldSize + nsize;
  return block;
}

TLuaStateLimits::TCapScope::TCapScope(TLuaStateLimits& limits, bool enforce)
    : limits(limits), saved(limits.enforced) {
  limits.enforced = enforce;
}

TLuaStateLimits::TCapScope::~TCapScope() { limits.enforced = saved; }

void TLuaStateLimits::SetDeadline(int64_t milliseconds) {
  deadline = ScriptClockNowMs() + milliseconds;
}

int64_t TLuaStateLimits::GetRemainingTime() const { return deadline - ScriptClockNowMs(); }

bool TLuaStateLimits::IsPastDeadline() const { return ScriptClockNowMs() > deadline; }

TLuaStateLimits::TDeadlineScope::TDeadlineScope(TLuaStateLimits& limits, int64_t milliseconds)
    : limits(limits), outerDeadline(limits.deadline), pausedAtStart(limits.pausedTotal) {
  const int64_t own = ScriptClockNowMs() + milliseconds;
  limits.deadline = limits.callDepth > 0 ? std::min(outerDeadline, own) : own;
  ++limits.callDepth;
}

TLuaStateLimits::TDeadlineScope::~TDeadlineScope() {
  --limits.callDepth;
  limits.deadline = outerDeadline + (limits.pausedTotal - pausedAtStart);
}

TLuaStateLimits::TDialogTimeScope::TDialogTimeScope(TLuaStateLimits& limits)
    : limits(limits), openedAt(ScriptClockNowMs()) {}

TLuaStateLimits::TDialogTimeScope::~TDialogTimeScope() {
  const int64_t open = std::max<int64_t>(0, ScriptClockNowMs() - openedAt);
  limits.deadline += open;
  limits.pausedTotal += open;
}

void CheckScriptDeadline(lua_State* L) {
  TLuaStateLimits* limits = TLuaStateLimits::FromState(L);
  if (limits != nullptr && limits->IsPastDeadline()) limits->OnDeadlinePassed(L);
}

}  // namespace kvt
