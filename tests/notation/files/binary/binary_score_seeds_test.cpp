// The seed files of the binary score reader's fuzz target (fuzz/corpus/binary_score_reader):
// small files of both layouts made by the writers here and by the older-layout fixture. Each
// must load whole; with KVT_FUZZ_SEED_DIR set the test also writes them into that folder,
// which is how the corpus is made again.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "notation/files/binary/binary_score_file.h"
#include "notation/services/services.h"
#include "notation/files/older/older_score_export.h"
#include "tests/notation/layout_bytes.h"
#include "tests/notation/older_layout_fixture.h"
#include "tests/notation/staff_builder.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

struct Seed {
  std::string name;
  std::string bytes;
  TLoadStatus status;
};

std::string Collect(TKRVFlatRamStream& stream) {
  std::string bytes(static_cast<size_t>(stream.Size()), '\0');
  stream.Rewind();
  if (!bytes.empty()) stream.Read(bytes.data(), stream.Size());
  return bytes;
}

std::unique_ptr<TMusicScore> SmallScore() {
  auto score = std::make_unique<TMusicScore>();
  score->SetSongInfoText(kSongTitle, u"Seed");
  auto staff = std::make_unique<TMusicStaff>();
  test::TStaffBuilder b(*staff);
  b.Clef(kClefTreble);
  b.Key(-1);
  b.TimeSig(3, 2);
  b.Note(-1, kDurQuarter, kMaskDotted);
  b.Rest(kDurEighth);
  b.Bar();
  b.Add(std::make_unique<TChordData>(std::make_unique<TMusicNote>(0, kDurHalf, 0, kAccNone),
                                     std::make_unique<TMusicNote>(-4, kDurHalf, 0, kAccSharp)));
  b.Add(std::make_unique<TMultiMeasureRest>(2));
  staff->SetBraceWithNext(true);
  score->AddStaff(std::move(staff));
  score->AddStaff(std::make_unique<TMusicStaff>());
  score->SetStaffIncluded(1, true);
  return score;
}

std::vector<Seed> MakeSeeds() {
  std::vector<Seed> seeds;
  std::unique_ptr<TMusicScore> score = SmallScore();
  {
    TKRVFlatRamStream out(0, 4096);
    WriteScoreFile(out, *score);
    seeds.push_back({"current_plain.kvt", Collect(out), TLoadStatus::kLoaded});
  }
  {
    TKRVFlatRamStream out(0, 4096);
    TKRVZLibOutStream z(TKRVZLibInStream::kModeTagged, &out);
    WriteScoreFile(z, *score);
    z.End();
    seeds.push_back({"current_compressed.kvt", Collect(out), TLoadStatus::kLoaded});
  }
  {
    TKRVFlatRamStream out(0, 4096);
    WriteScoreFile175(out, *score);
    seeds.push_back({"export_175_plain.kvt", Collect(out), TLoadStatus::kOlder});
  }
  {
    TKRVFlatRamStream out(0, 4096);
    TKRVZLibOutStream z(TKRVZLibInStream::kModeTagged, &out);
    WriteScoreFile175(z, *score);
    z.End();
    seeds.push_back({"export_175.kvt", Collect(out), TLoadStatus::kOlder});
  }
  for (int version : {5, 12, 30}) {
    test::TLayoutBytes b;
    b.Header(version);
    std::string bar = version >= 10 ? test::BarRecord(1) : test::TLayoutBytes().U16(2).U16(1).Bytes();
    b.Raw(test::OneStaffBody(version, {bar}));
    seeds.push_back({"older_v" + std::to_string(version) + ".kvt", b.Bytes(),
                     version >= kFirstCurrentLoadVersion ? TLoadStatus::kLoaded : TLoadStatus::kOlder});
  }
  return seeds;
}

TEST(BinaryScoreSeeds, EverySeedLoadsWhole) {
  const char* folder = std::getenv("KVT_FUZZ_SEED_DIR");
  for (const Seed& seed : MakeSeeds()) {
    std::string bytes = seed.bytes;
    TKRVFlatRamStream file(bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(bytes.size()));
    TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &file);
    TScoreFileHeader header;
    std::unique_ptr<TMusicScore> score = LoadScore(in, header, TServices{}).score;
    EXPECT_NE(score, nullptr) << seed.name;
    EXPECT_EQ(header.status, seed.status) << seed.name;
    EXPECT_LT(seed.bytes.size(), 4096u) << seed.name;
    if (folder && *folder) {
      std::ofstream out(std::string(folder) + "/" + seed.name, std::ios::binary | std::ios::trunc);
      out << seed.bytes;
      EXPECT_TRUE(out.good()) << seed.name;
    }
  }
}

}  // namespace
}  // namespace kvt
