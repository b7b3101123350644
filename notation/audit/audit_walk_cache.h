#pragma once
// TAuditWalkCache: the audit walk's context (a TAuditNtnIdx) kept at bar lines of one staff, so
// that an audit near the end of a long staff starts its walk close to its span instead of at
// item 0.
//
// Contract:
// - A kept walk at index c has read items 0..c-1 and stands on item c; it stays valid while
//   those items and the staff's start context (channel, port, transposition) are unchanged.
// - The staff drops kept walks at and after every index its insert and removal paths and its
//   closing bar line style touch (DropFrom). Each audit drops those after the first item it
//   audits, since the audit step rewrites the items it reaches, and a user object's script
//   drops them all. The start context is checked on each use.
// - An item changed in place must be audited (as every edit is) by an audit whose span starts
//   at or before it, or the kept walks dropped from it.
// - WalkTo gives the walk a fresh TAuditNtnIdx(staff, target) would give, for any target.
// - Owned by its staff (TMusicStaff::AuditWalkCache); UI thread, like the audit.

#include <vector>

#include "notation/audit/audit_ntn_idx.h"

namespace kvt {

class TMusicStaff;

class TAuditWalkCache {
public:
  // Bar lines between kept walks: a walk to any point passes at most this many bars before it
  // starts, and a staff of 2,000 bars keeps about 60 walks.
  static constexpr int kBarsPerWalk = 32;

  // Forgets every kept walk at index i or later.
  void DropFrom(int i);
  // The audit walk of the staff at target (bounded like TAuditNtnIdx::SetIndex): continued
  // from the nearest kept walk at or before it, keeping a walk every kBarsPerWalk bar lines
  // on the way.
  TAuditNtnIdx WalkTo(TMusicStaff& staff, int target);

  int KeptCount() const { return static_cast<int>(kept.size()); }
  // Index of the last kept walk; -1 when none.
  int LastKeptIndex() const { return kept.empty() ? -1 : kept.back().GetIndex(); }

private:
  struct TStart {
    int channel = 0;
    int port = 0;
    int transposition = 0;
    bool operator==(const TStart&) const = default;
  };
  static TStart StartOf(const TAuditNtnIdx& fresh);

  std::vector<TAuditNtnIdx> kept;  // ascending index, all of one staff and start context
  TStart start;
};

}  // namespace kvt
