#pragma once
// The step every score load ends with, whichever reader read the score: the text reader (also
// as the body of a binary file) and the older binary layout call it once the score is whole.

namespace kvt {

class TMusicScore;
struct TLoadRepairs;
struct TServices;

// Brings the score into the shape the editor relies on, in this order:
// 1. the editor state lies inside the score: the active staff is at most the last staff, and
//    the caret and the selection end lie in -1..the last item of the active staff;
// 2. every staff has a name no staff before it carries (TMusicScore::MakeStaffNamesUnique);
// 3. every staff is audited whole, with its user objects.
// Returns what steps 1 and 2 changed (editorStateBounded, staffNamesChanged); the caller
// decides what that means for its load status. `services` stays the caller's.
TLoadRepairs FinishLoadedScore(TMusicScore& score, const TServices& services);

}  // namespace kvt
