// Score operations over all staves: names, flags, channels, groups and selections.

#include <algorithm>
#include <string>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// Both MakeStaffNameUnique and MakeNewStaffName build names of at most this many units.
constexpr size_t kNameMaxUnits = kStaffNameUnits - 1;

std::u16string NumberText(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// The base cut so that base and suffix fit in the name field, never inside a surrogate pair.
std::u16string FitName(std::u16string_view base, std::u16string_view suffix) {
  size_t keep = std::min(base.size(), kNameMaxUnits - std::min(suffix.size(), kNameMaxUnits));
  if (keep > 0 && keep < base.size() && base[keep - 1] >= 0xD800 && base[keep - 1] <= 0xDBFF) --keep;
  std::u16string name(base.substr(0, keep));
  name += suffix;
  return name;
}

// The name itself (or "Staff" when empty), with "-2", "-3" ... appended while isTaken says
// another staff has the candidate. Never more candidates than staves + 1 can be taken, so the
// loop ends by the 257th number.
template <typename IsTaken>
std::u16string UniqueName(std::u16string_view name, IsTaken isTaken) {
  const std::u16string base = name.empty() ? std::u16string(u"Staff") : std::u16string(name);
  std::u16string candidate = base;
  for (int n = 2; isTaken(candidate); ++n) candidate = FitName(base, u"-" + NumberText(n));
  return candidate;
}

}  // namespace

// --- names ---

int TMusicScore::FindStaffByName(std::u16string_view name) const {
  for (int i = 0; i < GetStaffCount(); ++i) {
    if (staves[static_cast<size_t>(i)]->GetName() == name) return i;
  }
  return -1;
}

int TMusicScore::FindStaffByNameFromEnd(std::u16string_view name) const {
  for (int i = GetLastIndex(); i >= 0; --i) {
    if (staves[static_cast<size_t>(i)]->GetName() == name) return i;
  }
  return -1;
}

bool TMusicScore::IsNameTakenByOther(const TMusicStaff& staff, std::u16string_view name) const {
  const int self = IndexOfStaff(&staff);
  const int first = FindStaffByName(name);
  if (first != -1 && first != self) return true;
  const int last = FindStaffByNameFromEnd(name);
  return last != -1 && last != self;
}

void TMusicScore::MakeStaffNameUnique(TMusicStaff& staff) {
  staff.SetName(UniqueName(staff.GetName(), [&](std::u16string_view name) { return IsNameTakenByOther(staff, name); }));
}

bool TMusicScore::MakeStaffNamesUnique() {
  bool changed = false;
  for (int i = 0; i < GetStaffCount(); ++i) {
    TMusicStaff& staff = *staves[static_cast<size_t>(i)];
    const std::u16string name = UniqueName(staff.GetName(), [&](std::u16string_view candidate) {
      const int first = FindStaffByName(candidate);
      return first != -1 && first < i;
    });
    if (name == staff.GetName()) continue;
    staff.SetName(name);
    changed = true;
  }
  return changed;
}

std::u16string TMusicScore::MakeNewStaffName() const {
  for (int n = 1;; ++n) {
    std::u16string name = u"Staff-" + NumberText(n);
    if (FindStaffByName(name) == -1) return name;
  }
}

// --- flags ---

void TMusicScore::GetStaffFlags(TStaffFlagKind which, TKVBoolArray& bools) const {
  for (int i = 0; i < GetStaffCount(); ++i) {
    const TMusicStaff* staff = staves[static_cast<size_t>(i)].get();
    if (which == kStaffFlagMuted) bools.Set(i, staff->IsMuted());
    else if (which == kStaffFlagLayerWithNext) bools.Set(i, staff->GetLayerWithNext());
  }
}

void TMusicScore::SetStaffFlags(TStaffFlagKind which, const TKVBoolArray& bools) {
  for (int i = 0; i < GetStaffCount(); ++i) {
    TMusicStaff* staff = staves[static_cast<size_t>(i)].get();
    if (which == kStaffFlagMuted) staff->SetMuted(bools.Get(i));
    else if (which == kStaffFlagLayerWithNext) staff->SetLayerWithNext(bools.Get(i));
  }
}

// --- channels ---

int TMusicScore::CountStaffsOnChannel(int device, int channel) const {
  return static_cast<int>(std::count_if(staves.begin(), staves.end(), [&](const auto& staff) {
    return staff->GetDevice() == device && staff->GetChannel() == channel;
  }));
}

int TMusicScore::GetMaxDevice() const {
  int device = 0;
  for (const auto& staff : staves) device = std::max(device, staff->GetDevice());
  return device;
}

int TMusicScore::GetLastStaffDevice() const { return staves.empty() ? 0 : staves.back()->GetDevice(); }

int TMusicScore::GetNextFreeChannel(int device) const {
  int channel = staves.empty() ? 0 : staves.back()->GetChannel();
  channel = (channel + 1) % 16;
  for (int tries = 0; tries < 16 && CountStaffsOnChannel(device, channel) > 0; ++tries) {
    channel = (channel + 1) % 16;
  }
  return channel;
}

// --- groups and selections ---

int TMusicScore::FindStaffsByGroup(std::u16string_view group, TKVBoolArray& bools) const {
  for (int i = 0; i < GetStaffCount(); ++i) {
    if (staves[static_cast<size_t>(i)]->GetGroup() == group) bools.Set(i, true);
  }
  return GetStaffCount();
}

bool TMusicScore::SelectMarkedStaffs(std::vector<int>& list, const TKVBoolArray& bools, int limit,
                                     int capacity) const {
  list.clear();
  bool taken = false;
  for (int i = 0; i < GetStaffCount(); ++i) {
    const int size = static_cast<int>(list.size());
    if (size > limit || size >= capacity) break;
    if (!bools.Get(i)) continue;
    list.push_back(i);
    taken = true;
  }
  return taken;
}

bool TMusicScore::SelectStaffsByGroup(std::vector<int>& list, std::u16string_view group, int limit,
                                      int capacity) const {
  TKVBoolArray marks(MaxScoreStaffs);
  FindStaffsByGroup(group, marks);
  return SelectMarkedStaffs(list, marks, limit, capacity);
}

}  // namespace kvt
