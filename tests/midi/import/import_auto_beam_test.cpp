// The import beams each staff with AutoBeamAuditedStaff (one audit after all groups); on every
// staff the import leaves, that must give the staff AutoBeam (an audit after each group) gives.
// Generated files of melodies, chords, rests, short notes, ties across bars, triplet-like
// lengths, keys and time-signature changes are imported without beaming, then each staff,
// audited, is beamed both ways.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "tests/midi/import/auto_beam_compare.h"
#include "tests/midi/import/import_fixture.h"

namespace kvt {
namespace {

constexpr uint32_t kQuarter = 192;

class ImportAutoBeamTest : public test::ImportFixture {
protected:
  // A file of `tracks` instrument tracks after a conductor track, from the seed.
  void Generate(unsigned seed, int tracks) {
    std::mt19937 rng(seed);
    Tracks(tracks + 1);
    // Time signatures every few bars: 4/4, 3/4, 6/8, 2/4, 5/8.
    static const int kSigs[][2] = {{4, 2}, {3, 2}, {6, 3}, {2, 2}, {5, 3}};
    uint32_t bar = 0;
    for (int b = 0; b < 40; ++b) {
      const auto& sig = kSigs[(b / 6 + seed) % std::size(kSigs)];
      if (b % 6 == 0) Add(0, bar, TMidiMsg::TimeSignature(sig[0], sig[1]));
      if (b == 12) Add(0, bar, TMidiMsg::KeySignature(static_cast<int>(seed % 7) - 3, false));
      bar += static_cast<uint32_t>(sig[0]) * (4 * kQuarter >> sig[1]);
    }
    static const uint32_t kLengths[] = {
        kQuarter / 2, kQuarter / 2, kQuarter / 4,     kQuarter / 4,     kQuarter,
        kQuarter / 3, kQuarter / 8, kQuarter * 3 / 4, kQuarter * 3 / 2, kQuarter * 5 / 2};
    for (int t = 1; t <= tracks; ++t) {
      uint32_t at = 0;
      int pitch = 48 + static_cast<int>(rng() % 30);
      while (at < bar) {
        const uint32_t length = kLengths[rng() % std::size(kLengths)];
        const unsigned roll = rng() % 10;
        if (roll == 0) {  // a rest
          at += length;
          continue;
        }
        pitch = std::clamp(pitch + static_cast<int>(rng() % 13) - 6, 30, 90);
        Note(t, t - 1, pitch, at, at + length);
        if (roll == 1) Note(t, t - 1, pitch + 4, at, at + length);      // a chord
        if (roll == 2) Note(t, t - 1, pitch - 5, at, at + length / 2);  // unequal lengths
        at += length;
      }
    }
  }
};

TEST_F(ImportAutoBeamTest, BeamingOnceAuditedMatchesAuditingEachGroup) {
  int beamed = 0;
  for (unsigned seed = 0; seed < 24; ++seed) {
    SCOPED_TRACE(seed);
    const bool compound = seed % 2 == 0;
    Generate(seed, 3);
    data.GetOptions().autoBeam = 0;
    data.GetOptions().detectCompoundTime = compound ? 1 : 0;
    data.GetOptions().noteResolution = static_cast<int32_t>(seed % 7);
    data.GetOptions().restResolution = static_cast<int32_t>(seed % 5);
    ScanImportInstructions(data, true, data.GetOptions().maxChordSize);
    data.ApplyOptionsToInstructions();
    ConvertInstructions();
    std::unique_ptr<TMusicScore> perGroup = std::move(score);
    ConvertInstructions();
    ASSERT_TRUE(score && perGroup);
    beamed += test::ExpectSameBeamingBothWays(*score, *perGroup, compound);
  }
  EXPECT_GE(beamed, 24);  // the files give beams to compare
}

}  // namespace
}  // namespace kvt
