#pragma once
// TTransposeNtnIdx: an audit index that transposes the items it stands on by a number of
// semitones, keeping the key-transposition state (the key offset: the staff steps by which
// notes move under the key in force) in step with key signatures, endings and codas.
//
// The walk uses the linear walk mode. `steps` is the key-spelling preference handed to key
// transposition (negative prefers Cb major over B major, positive F# and C# major over Gb and
// Db major; TKeyData::Transpose). The key offset starts as the steps of C major transposed by
// the semitones, so a staff without a key signature moves its notes as C major would.

#include <cstdint>

#include "notation/audit/audit_ntn_idx.h"

namespace kvt {

class TUserObjectHost;
struct TServices;

class TTransposeNtnIdx : public TAuditNtnIdx {
public:
  TTransposeNtnIdx() = default;
  // At item 0, reset; option is handed to user objects. The index keeps the services'
  // user-object host (the caller's; it must outlive the index), none when the member is null.
  TTransposeNtnIdx(TMusicStaff* staff, int semitones, int steps, int option,
                   const TServices& services);

  // The audit reset in the linear walk mode; key offsets from C major transposed in test mode.
  void Reset() override;
  // Saves the key offset at a first ending and at To Coda and restores it at later endings
  // and at the Coda when the coda was entered; then the audit step.
  bool Next() override;

  // Transposes the current item: a key signature in place (updating the key offset), a song
  // note under the running state with the semitones and the key offset, a user object through
  // the user-object host (left alone without one). Other items are left alone. True when the item could be transposed
  // exactly (a note that needed respelling answers false, but is transposed).
  bool TransposeCurrent();
  // Whether TransposeCurrent would transpose the current item exactly; changes nothing.
  bool CanTransposeCurrent();

  int GetKeyOffset() const { return keyOffset; }
  int GetSemitones() const { return semitones; }
  int GetSteps() const { return steps; }
  int GetOption() const { return option; }

private:
  int32_t keyOffset = 0;
  int32_t firstEndingKeyOffset = 0;
  int32_t toCodaKeyOffset = 0;
  int32_t semitones = 0;
  int32_t steps = 0;
  int32_t option = 0;
  TUserObjectHost* userObjectHost = nullptr;
};

}  // namespace kvt
