#include "app/play_time.h"

#include <gtest/gtest.h>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "app/command_line_convert.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "tests/app/convert_fixture.h"

namespace kvt {
namespace {

TEST(PlayTimeTest, FormatsMinutesAndHours) {
  struct Case {
    int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "0:00"},
      {7, "0:07"},
      {59 * 60 + 5, "59:05"},
      {3599, "59:59"},
      {3600, "1:00:00"},
      {3600 + 2 * 60 + 3, "1:02:03"},
      {10 * 3600 + 59, "10:00:59"},
      {-5, "0:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatPlayTime(c.seconds), c.text) << c.seconds;
}

TEST(PlayTimeTest, PlayedLengthRunsToTheEndOfTheLastStaffExportToTheLastEvent) {
  // 90 quarters a minute: 8 beats are 5.33 s as played (the closing whole rest included);
  // the export ends when the last note stops sounding (720 ticks, just under 2.5 s).
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  EXPECT_EQ(MeasurePlayTime(*score, true), 5);
  EXPECT_EQ(MeasurePlayTime(*score, false), 2);
}

// A fermata's pause is heard when the score plays but is not in the MIDI file, so the export's
// time leaves it out and matches the file as a MIDI reader plays it.
TEST(PlayTimeTest, ExportTimeLeavesOutPausesTheFileCannotHold) {
  TMusicScore score;
  auto staff = std::make_unique<TMusicStaff>();
  staff->InsertItem(std::make_unique<TTempoData>(60, kTempoQuarter), 1);
  for (int i = 0; i < 4; ++i) {
    if (i == 2) {
      auto fermata = std::make_unique<TTempoVariance>(kTempoVarFermata);
      fermata->SetPause(40);  // 40 sixteenths: 10 s at 60 quarters a minute
      staff->InsertItem(std::move(fermata), staff->GetLastIndex());
    }
    staff->InsertItem(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone),
                      staff->GetLastIndex());
  }
  score.AddStaff(std::move(staff));
  EXPECT_EQ(MeasurePlayTime(score, true), 14);
  EXPECT_EQ(MeasurePlayTime(score, false), 4);

  TTempFolder folder;
  test::WriteTextScore(folder / "pause.kvttxt", score);
  std::string messages;
  ASSERT_EQ(ConvertFiles({"kvt2", "-convert", folder / "pause.kvttxt", folder / "pause.mid"}, messages), 0);
  EXPECT_NEAR(test::MidiFileSeconds(folder / "pause.mid"), 4.0, 0.5);
}

TEST(PlayTimeTest, RoundsToTheNearestSecond) {
  // One staff of n quarter notes at 120 a minute lasts n / 2 seconds: 0.5 s rounds up.
  for (int quarters : {1, 2, 3, 7}) {
    TMusicScore score;
    auto staff = std::make_unique<TMusicStaff>();
    staff->InsertItem(std::make_unique<TTempoData>(120, kTempoQuarter), 1);
    for (int i = 0; i < quarters; ++i) {
      staff->InsertItem(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone),
                        staff->GetLastIndex());
    }
    score.AddStaff(std::move(staff));
    EXPECT_EQ(MeasurePlayTime(score, true), (quarters * 500 + 500) / 1000) << quarters;
  }
}

TEST(PlayTimeTest, EmptyScoreLastsNothing) {
  TMusicScore score;
  EXPECT_EQ(MeasurePlayTime(score, true), 0);
  EXPECT_EQ(MeasurePlayTime(score, false), 0);
}

}  // namespace
}  // namespace kvt
