// The score window's document logic with a scripted host: names, the modified state, Save and
// Save As with their questions and failures, the close question, backups, autosave and
// recovered files, Revert and Play.

#include "app/editor/score_document.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/editor/play_start_tick.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/text/score_text_file.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/autosave_store.h"
#include "tests/app/editor/scripted_score_window_host.h"
#include "tests/app/example_score.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

// The example score is in 4/4: a bar of 768 ticks.
constexpr int kBar = 768;
constexpr int kBeat = 192;

// The view's side: a state serial the test moves like edits, undo and redo would.
class TFakeClient final : public TScoreDocumentClient {
public:
  uint64_t StateSerial() const override { return serial; }
  void CommitPendingEdit() override { ++commits; }
  void TitleChanged() override { ++titleChanges; }
  void ScoreReplaced() override { ++replacements; }
  int ActiveStaff() const override { return activeStaff; }
  int CaretIndex() const override { return caret; }
  void PlayStarted() override { ++playStarts; }
  void ScrollByKey(int direction) override { scrolls.push_back(direction); }
  void StaffAppended(int scoreStaff) override { appended.push_back(scoreStaff); }

  uint64_t serial = 1;
  int commits = 0;
  int titleChanges = 0;
  int replacements = 0;
  int activeStaff = 0;
  int caret = 1;
  int playStarts = 0;
  std::vector<int> scrolls;
  std::vector<int> appended;
};

class ScoreDocumentTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_document_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    // The autosave folder of a run: kvt2 under the state folder, here a temporary one.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr) savedState = state;
    hadState = state != nullptr;
    setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    host = std::make_unique<TScriptedScoreWindowHost>(DefaultAutosaveFolder());
    ASSERT_EQ(host->store.Folder(), root + "/state/kvt2");
    host->options.saveBackups = 0;
  }
  void TearDown() override {
    EXPECT_TRUE(host->AllAnswersUsed());
    docs.clear();
    fs::remove_all(root);
    if (hadState) {
      setenv("XDG_STATE_HOME", savedState.c_str(), 1);
    } else {
      unsetenv("XDG_STATE_HOME");
    }
  }

  // A document over a fresh score with one staff, its view attached.
  TScoreDocument& Open(const std::string& path, int mode = 1, bool hasFile = true,
                       std::unique_ptr<TMusicScore> score = nullptr, TAutosaveClaim claim = {}) {
    if (!score) {
      score = std::make_unique<TMusicScore>();
      score->AddStaff(std::make_unique<TMusicStaff>());
    }
    docs.push_back(std::make_unique<TScoreDocument>(*host, path, std::move(score), mode, hasFile,
                                                    std::move(claim)));
    docs.back()->AttachClient(&client);
    return *docs.back();
  }
  // An edit in the view: a new state.
  void Edit(TScoreDocument& doc) {
    client.serial = ++nextSerial;
    doc.SetModified(false);
  }
  std::string PathOf(const std::string& name) const { return root + "/" + name; }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  std::string root;
  std::string savedState;
  bool hadState = false;
  std::unique_ptr<TScriptedScoreWindowHost> host;
  TFakeClient client;
  uint64_t nextSerial = 1;
  std::vector<std::unique_ptr<TScoreDocument>> docs;
};

TEST_F(ScoreDocumentTest, RecoveredFilesAreNumberedAndModified) {
  const std::string a = host->store.Folder() + "/kvt000.asv";
  const std::string b = host->store.Folder() + "/kvt001.asv";
  ASSERT_TRUE(host->store.PrepareFolder());
  ASSERT_TRUE(WriteScoreToFile(a.c_str(), false, *example::MakeExampleScore()));
  ASSERT_TRUE(WriteScoreToFile(b.c_str(), false, *example::MakeExampleScore()));

  TScoreDocument& first = Open(a, 12);
  TScoreDocument& second = Open(b, 12);
  EXPECT_EQ(first.FileName(), "Recovered File 1");
  EXPECT_EQ(second.FileName(), "Recovered File 2");
  EXPECT_EQ(first.Title(), "<Recovered File 1> *");
  EXPECT_TRUE(first.IsModified());
  EXPECT_TRUE(second.IsModified());
  // Saving a recovered window asks for a name: it has no file of its own.
  EXPECT_TRUE(first.IsUntitled());
  // Its autosaves go back to the file it came from.
  EXPECT_EQ(first.AutosavePath(), a);
  EXPECT_TRUE(first.AutoSave());
  TScoreFileHeader header;
  EXPECT_NE(ReadScoreFromFile(a.c_str(), header, TServices()).score, nullptr);
}

TEST_F(ScoreDocumentTest, BackupOpensUnderItsPlainName) {
  TScoreDocument& doc = Open(PathOf("song.kvttxt.bak"), 11, false);
  EXPECT_EQ(doc.FileName(), PathOf("song.bak"));
  EXPECT_TRUE(doc.IsTextFormat());
  EXPECT_TRUE(doc.IsUntitled());
}

TEST_F(ScoreDocumentTest, ModifiedFollowsStateSerials) {
  TScoreDocument& doc = Open(PathOf("song.kvt"));
  EXPECT_FALSE(doc.IsModified());
  Edit(doc);  // state 2
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.Title(), "song *");
  ASSERT_EQ(doc.Save(), TSaveResult::kSaved);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.Title(), "song");
  client.serial = 1;  // undo back to the state before the save
  EXPECT_TRUE(doc.IsModified());
  client.serial = ++nextSerial;  // another edit: a state never saved, whatever counters say
  EXPECT_TRUE(doc.IsModified());
  client.serial = 2;  // undo and redo back to the saved state
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(ScoreDocumentTest, SaveWritesTheFormatOfTheExtension) {
  TScoreDocument& text = Open(PathOf("a.kvttxt"));
  Edit(text);
  ASSERT_EQ(text.Save(), TSaveResult::kSaved);
  EXPECT_EQ(ReadFile(PathOf("a.kvttxt")).rfind("!Tarlowmede", 0), 0u);
  EXPECT_EQ(client.commits, 1);  // the view's pending edit went in first

  TScoreDocument& binary = Open(PathOf("b.kvt"));
  ASSERT_EQ(binary.Save(), TSaveResult::kSaved);
  TScoreFileHeader header;
  EXPECT_NE(ReadScoreFromFile(PathOf("b.kvt").c_str(), header, TServices()).score, nullptr);
}

// Each question of Save, answered: Yes goes on, No and Cancel write nothing.
TEST_F(ScoreDocumentTest, QuestionsBeforeSave) {
  struct Case {
    const char* name;
    bool readOnly;
    bool oldVersion;
    bool experimental;  // marked experimental, no experimental feature in use any more
    int answer;
    const char* caption;
    TSaveResult result;
  };
  const Case cases[] = {
      {"ro-yes", true, false, false, IDYES, "File Save", TSaveResult::kSaved},
      {"ro-no", true, false, false, IDNO, "File Save", TSaveResult::kDeclined},
      {"ro-cancel", true, false, false, IDCANCEL, "File Save", TSaveResult::kDeclined},
      {"old-yes", false, true, false, IDYES, "File Save", TSaveResult::kSaved},
      {"old-no", false, true, false, IDNO, "File Save", TSaveResult::kDeclined},
      {"exp-yes", false, false, true, IDYES, "Experimental File", TSaveResult::kSaved},
      {"exp-cancel", false, false, true, IDCANCEL, "Experimental File", TSaveResult::kDeclined},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = PathOf(std::string(c.name) + ".kvt");
    WriteFile(path, "old");
    if (c.readOnly) ::chmod(path.c_str(), 0444);
    TScoreDocument& doc = Open(path);
    doc.Score().SetOldFormatVersion(c.oldVersion);
    if (c.experimental) doc.Score().SetExperimental(true);
    Edit(doc);
    host->boxes.clear();
    host->Answer({c.answer});
    EXPECT_EQ(doc.Save(), c.result);
    ASSERT_EQ(host->boxes.size(), 1u);
    EXPECT_EQ(host->boxes[0].caption, c.caption);
    const char* fragment = c.readOnly     ? "This is a read-only file.\n\nTry anyway?"
                           : c.oldVersion ? "older KVT file format"
                                          : "no longer be considered experimental";
    EXPECT_NE(host->boxes[0].text.find(fragment), std::string::npos);
    const bool saved = c.result == TSaveResult::kSaved;
    EXPECT_EQ(ReadFile(path) != "old", saved);
    EXPECT_EQ(doc.IsModified(), !saved);
    EXPECT_EQ(doc.Score().IsOldFormatVersion(), c.oldVersion && !saved);
    EXPECT_EQ(doc.Score().IsExperimental(), c.experimental && !saved);
  }
}

// A window closes only after a real save or an explicit No.
TEST_F(ScoreDocumentTest, CloseQuestion) {
  struct Case {
    const char* name;
    bool modified;
    std::vector<int> answers;  // the close question, then any question of the save
    bool readOnly;
    bool closes;
    bool written;
  };
  const Case cases[] = {
      {"unmodified", false, {}, false, true, false},
      {"no", true, {IDNO}, false, true, false},
      {"cancel", true, {IDCANCEL}, false, false, false},
      {"yes", true, {IDYES}, false, true, true},
      // No to "Try anyway?" is no save: the window stays.
      {"yes-readonly-no", true, {IDYES, IDNO}, true, false, false},
      {"yes-readonly-yes", true, {IDYES, IDYES}, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = PathOf(std::string(c.name) + ".kvt");
    WriteFile(path, "old");
    if (c.readOnly) ::chmod(path.c_str(), 0444);
    TScoreDocument& doc = Open(path);
    if (c.modified) Edit(doc);
    host->boxes.clear();
    for (int a : c.answers) host->Answer({a});
    EXPECT_EQ(doc.CanClose(), c.closes);
    if (c.modified) {
      EXPECT_EQ(host->boxes[0].caption, "Save Confirmation");
    }
    EXPECT_EQ(ReadFile(path) != "old", c.written);
  }
}

// The safe save keeps the old file when the write fails: here the file-size limit stops the
// body's write midway.
TEST_F(ScoreDocumentTest, FailedWriteKeepsOldFileNameAndModifiedState) {
  const std::string path = PathOf("song.kvttxt");
  WriteFile(path, "old contents");
  TScoreDocument& doc = Open(path, 1, true, example::MakeExampleScore());
  doc.Score().SetOldFormatVersion(true);
  Edit(doc);

  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 64;
  auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  host->Answer({IDYES, IDOK});  // the old-version question, then the failure report
  const TSaveResult result = doc.Save();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);

  EXPECT_EQ(result, TSaveResult::kFailed);
  EXPECT_EQ(host->boxes.back().caption, "File Save");
  EXPECT_NE(host->boxes.back().text.find("failed to be properly saved"), std::string::npos);
  EXPECT_EQ(ReadFile(path), "old contents");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(doc.Score().IsOldFormatVersion());
  EXPECT_EQ(doc.FileName(), path);
  for (const auto& entry : fs::directory_iterator(root))  // no temporary file left behind
    EXPECT_EQ(entry.path().filename().string().find(".song"), std::string::npos);
}

TEST_F(ScoreDocumentTest, SaveKeepsABackupOfTheOldFile) {
  host->options.saveBackups = 2;
  const std::string path = PathOf("song.kvttxt");
  WriteFile(path, "first version");
  TScoreDocument& doc = Open(path);
  Edit(doc);
  ASSERT_EQ(doc.Save(), TSaveResult::kSaved);
  EXPECT_EQ(ReadFile(PathOf("song.kvttxt.bak")), "first version");
}

TEST_F(ScoreDocumentTest, UnusableBackupFolderAsksBeforeSaving) {
  host->options.saveBackups = 1;
  host->options.backupFolder = PathOf("missing");
  const std::string path = PathOf("song.kvt");
  WriteFile(path, "old");
  TScoreDocument& doc = Open(path);
  Edit(doc);
  host->Answer({IDNO});
  EXPECT_EQ(doc.Save(), TSaveResult::kDeclined);
  EXPECT_EQ(host->boxes.back().caption, "Backup Failed");
  EXPECT_EQ(ReadFile(path), "old");
  host->Answer({IDYES});
  EXPECT_EQ(doc.Save(), TSaveResult::kSaved);
  EXPECT_NE(ReadFile(path), "old");
}

TEST_F(ScoreDocumentTest, SaveAsRefusesAPathOpenElsewhereAndAsksAgain) {
  TScoreDocument& doc = Open("Untitled", 0, false);
  host->folders[0] = root;
  host->otherWindows = {PathOf("taken.kvt")};
  host->savePaths = {PathOf("taken"), PathOf("free.txt")};
  host->saveTypes = {1, 3};
  host->Answer({IDOK});
  ASSERT_EQ(doc.SaveAs(), TSaveResult::kSaved);
  ASSERT_EQ(host->dialogs.size(), 2u);
  EXPECT_EQ(host->dialogs[0].initialFolder, root);
  EXPECT_EQ(host->dialogs[0].initialName, "Untitled");
  EXPECT_EQ(host->boxes[0].caption, "File Save");
  EXPECT_NE(host->boxes[0].text.find("currently open in another edit window"), std::string::npos);
  // The type chosen decides the extension and the format.
  EXPECT_EQ(doc.FileName(), PathOf("free.kvttxt"));
  EXPECT_TRUE(doc.IsTextFormat());
  EXPECT_FALSE(doc.IsUntitled());
  EXPECT_EQ(host->recentFiles.back(), PathOf("free.kvttxt"));
  EXPECT_TRUE(fs::exists(PathOf("free.kvttxt")));
}

TEST_F(ScoreDocumentTest, FailedSaveAsKeepsTheOldName) {
  TScoreDocument& doc = Open("Untitled", 0, false);
  Edit(doc);
  host->savePaths = {PathOf("no-such-folder/x.kvt")};
  host->Answer({IDOK});
  EXPECT_EQ(doc.SaveAs(), TSaveResult::kFailed);
  EXPECT_EQ(doc.FileName(), "Untitled");
  EXPECT_TRUE(doc.IsUntitled());
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(host->recentFiles.empty());
  // A closed dialog is no save.
  EXPECT_EQ(doc.SaveAs(), TSaveResult::kDeclined);
}

TEST_F(ScoreDocumentTest, AutosaveTakesTheNextFreeNameAndGoesWithTheSave) {
  TScoreDocument& other = Open(PathOf("other.kvt"));
  Edit(other);
  ASSERT_TRUE(other.AutoSave());
  EXPECT_EQ(other.AutosavePath(), host->store.Folder() + "/kvt000.asv");

  TScoreDocument& doc = Open(PathOf("song.kvt"));
  EXPECT_TRUE(doc.AutoSave());
  EXPECT_TRUE(doc.AutosavePath().empty());  // not modified: nothing written
  Edit(doc);
  ASSERT_TRUE(doc.AutoSave());
  const std::string autosave = doc.AutosavePath();
  EXPECT_EQ(autosave, host->store.Folder() + "/kvt001.asv");
  EXPECT_FALSE(doc.IsAutosavePending());
  struct stat st {};
  ASSERT_EQ(::stat(autosave.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ASSERT_EQ(doc.Save(), TSaveResult::kSaved);
  EXPECT_FALSE(fs::exists(autosave));
  docs.erase(docs.begin());  // a closed window takes its autosave file with it
  EXPECT_FALSE(fs::exists(host->store.Folder() + "/kvt000.asv"));
}

TEST_F(ScoreDocumentTest, AutosaveFailureIsReportedAndTriedAgain) {
  ASSERT_TRUE(host->store.PrepareFolder());
  for (int n = 0; n < 1000; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "/kvt%03d.asv", n);
    WriteFile(host->store.Folder() + name, "x");
  }
  TScoreDocument& doc = Open(PathOf("song.kvt"));
  Edit(doc);
  host->Answer({IDOK});
  EXPECT_FALSE(doc.AutoSave());
  EXPECT_NE(host->boxes.back().text.find("The AutoSave feature failed on this file."),
            std::string::npos);
  EXPECT_TRUE(doc.IsAutosavePending());
  EXPECT_FALSE(host->store.IsReportingFailure());

  fs::remove(host->store.Folder() + "/kvt500.asv");
  EXPECT_TRUE(doc.AutoSave());
  EXPECT_EQ(doc.AutosavePath(), host->store.Folder() + "/kvt500.asv");
}

TEST_F(ScoreDocumentTest, AutosaveNeverWritesThroughALink) {
  TScoreDocument& doc = Open(PathOf("song.kvt"));
  Edit(doc);
  ASSERT_TRUE(doc.AutoSave());
  const std::string autosave = doc.AutosavePath();
  const std::string victim = PathOf("victim.txt");
  WriteFile(victim, "keep me");
  fs::remove(autosave);
  fs::create_symlink(victim, autosave);
  Edit(doc);
  host->Answer({IDOK});
  EXPECT_FALSE(doc.AutoSave());
  EXPECT_EQ(ReadFile(victim), "keep me");
  EXPECT_TRUE(doc.IsAutosavePending());
}

TEST_F(ScoreDocumentTest, RevertAsksWhenModifiedAndReloads) {
  const std::string path = PathOf("song.kvt");
  TScoreDocument& doc = Open(path);
  host->loader = [](const std::string&, int) { return example::MakeExampleScore(); };
  Edit(doc);
  host->Answer({IDCANCEL});
  doc.Revert();
  EXPECT_TRUE(host->loads.empty());
  EXPECT_EQ(host->boxes.back().caption, "Reload File");

  host->Answer({IDOK});
  doc.Revert();
  ASSERT_EQ(host->loads.size(), 1u);
  EXPECT_EQ(client.replacements, 1);
  EXPECT_EQ(doc.Score().GetStaffCount(), 3);
  EXPECT_FALSE(doc.IsModified());

  // A load that gives nothing leaves the score alone.
  host->loader = nullptr;
  doc.Revert();
  EXPECT_EQ(doc.Score().GetStaffCount(), 3);
}

TEST_F(ScoreDocumentTest, MissingFontsAndUnknownUserObjectsAreLogged) {
  auto score = std::make_unique<TMusicScore>();
  score->AddStaff(std::make_unique<TMusicStaff>());
  Open(PathOf("dir/song.kvt"), 1, true, std::move(score));
  // The null font catalog knows no face: the music face and the text faces are missing.
  ASSERT_FALSE(host->alerts.lines.empty());
  EXPECT_NE(host->alerts.lines[0].find("' referenced by song.kvt"), std::string::npos);
  EXPECT_EQ(host->alerts.lines[0].rfind("Missing font '", 0), 0u);
}

TEST_F(ScoreDocumentTest, ImportRecordingAppendsTheTakeAsAStaff) {
  TScoreDocument& doc = Open(PathOf("song.kvt"), 1, true, example::MakeExampleScore());
  TMusicScore& score = doc.Score();
  // Without a take the user is told and nothing changes.
  host->Answer({IDOK});
  EXPECT_FALSE(doc.ImportRecording());
  EXPECT_EQ(host->boxes.back().caption, "Recording Data Not Present");
  EXPECT_FALSE(doc.IsModified());

  client.activeStaff = 1;
  score.GetStaff(1)->SetGroup(u"Piano");
  score.GetStaff(2)->SetDevice(3);
  for (int take = 0; take < 2; ++take) {
    const int before = score.GetStaffCount();
    const int channel = score.GetNextFreeChannel(3);
    host->recorded = std::make_unique<TMusicStaff>();
    ASSERT_TRUE(doc.ImportRecording());
    ASSERT_EQ(score.GetStaffCount(), before + 1);
    const TMusicStaff& added = *score.GetStaff(before);
    EXPECT_EQ(std::u16string(added.GetGroup()), u"Piano");
    EXPECT_EQ(added.GetDevice(), 3);
    EXPECT_EQ(added.GetChannel(), channel);
    EXPECT_TRUE(score.IsStaffIncluded(before));
    EXPECT_EQ(client.appended.back(), before);
  }
  EXPECT_EQ(std::u16string(score.GetStaff(3)->GetName()), u"Import");
  EXPECT_NE(std::u16string(score.GetStaff(4)->GetName()), u"Import");  // made unique
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(ScoreDocumentTest, PlayWhilePlayingStopsOrResumes) {
  TScoreDocument& doc = Open(PathOf("song.kvt"), 1, true, example::MakeExampleScore());
  host->playback.playing = true;
  host->playback.paused = true;
  doc.Play(kCmdPlay);
  EXPECT_EQ(host->playback.pauseToggles, 1);
  EXPECT_EQ(host->stops, 0);
  doc.Play(kCmdPlay);
  EXPECT_EQ(host->stops, 1);
  EXPECT_TRUE(host->compiles.empty());
}

TEST_F(ScoreDocumentTest, PlayQuestions) {
  struct Case {
    const char* name;
    int command;
    bool muted, hasDevices, hasRecord, startOk;
    std::vector<int> answers;
    size_t starts;
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {"muted-cancel", kCmdStaffPlay, true, true, true, true, {IDCANCEL}, 0, {"Midi Play Warning"}},
      {"muted-ok", kCmdStaffPlay, true, true, true, true, {IDOK}, 1, {"Midi Play Warning"}},
      {"no-devices-cancel",
       kCmdPlay,
       false,
       false,
       true,
       true,
       {IDCANCEL},
       0,
       {"No MIDI Play Devices"}},
      {"no-devices-no", kCmdPlay, false, false, true, true, {IDNO}, 1, {"No MIDI Play Devices"}},
      {"no-record-no", kCmdRecord, false, true, false, true, {IDNO}, 0, {"No MIDI Record Device"}},
      {"start-fails", kCmdPlay, false, true, true, false, {IDOK}, 1, {"Play Failed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host = std::make_unique<TScriptedScoreWindowHost>(DefaultAutosaveFolder());
    TScoreDocument& doc = Open(PathOf("song.kvt"), 1, true, example::MakeExampleScore());
    doc.Score().GetStaff(0)->SetMuted(c.muted);
    host->hasPlayDevices = c.hasDevices;
    host->hasRecordSource = c.hasRecord;
    host->startSucceeds = c.startOk;
    for (int a : c.answers) host->Answer({a});
    doc.Play(c.command);
    EXPECT_EQ(host->starts.size(), c.starts);
    EXPECT_EQ(host->Captions(), c.captions);
    EXPECT_EQ(doc.IsPlayingHere(), c.starts == 1 && c.startOk);
    EXPECT_TRUE(host->AllAnswersUsed());
    docs.clear();
  }
}

TEST_F(ScoreDocumentTest, StaffPlaySoundsOnlyTheActiveStaffFromTheCaretBar) {
  TScoreDocument& doc = Open(PathOf("song.kvt"), 1, true, example::MakeExampleScore());
  client.activeStaff = 1;
  // The caret on beat 2 of bar 3.
  TRelNtnIdx index(doc.Score().GetStaff(1));
  while (index.GetTicks() < 2 * kBar + kBeat && index.Next()) {
  }
  ASSERT_EQ(index.GetTicks(), 2 * kBar + kBeat);
  client.caret = index.GetIndex();
  doc.Play(kCmdStaffPlay);
  ASSERT_EQ(host->compiles.size(), 1u);
  EXPECT_EQ(host->compiles[0].soloStaff, 1);
  EXPECT_EQ(host->compiles[0].startTick, 2 * kBar);  // "PlayLeadInMeasures" 1: the bar's start
  EXPECT_EQ(client.playStarts, 1);
}

TEST_F(ScoreDocumentTest, PlayStartFromTheCaret) {
  std::unique_ptr<TMusicScore> score = example::MakeExampleScore();
  TMusicStaff* staff = score->GetStaff(0);
  // The caret after the first beat of bar 3.
  TRelNtnIdx index(staff);
  while (index.GetTicks() <= 2 * kBar && index.Next()) {
  }
  const int64_t caretTicks = index.GetTicks();
  ASSERT_GT(caretTicks, 2 * kBar);
  ASSERT_LT(caretTicks, 3 * kBar);
  const int caret = index.GetIndex();
  struct Case {
    int playStart;
    int64_t tick;
  };
  const Case cases[] = {{0, caretTicks}, {1, 2 * kBar}, {2, kBar}, {3, 0}, {50, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(PlayStartTick(staff, caret, c.playStart), c.tick) << c.playStart;
  EXPECT_EQ(PlayStartTick(nullptr, caret, 1), 0);
  EXPECT_EQ(PlayStartTick(staff, -5, 0), 0);
}

TEST_F(ScoreDocumentTest, MediaKeys) {
  TScoreDocument& doc = Open(PathOf("song.kvt"), 1, true, example::MakeExampleScore());
  doc.MediaKey(TMediaKey::kBack);
  doc.MediaKey(TMediaKey::kForward);
  doc.MediaKey(TMediaKey::kHome);
  EXPECT_EQ(client.scrolls, (std::vector<int>{-1, 1, 0}));
  doc.MediaKey(TMediaKey::kPause);  // nothing plays: nothing to pause
  EXPECT_EQ(host->playback.pauseToggles, 0);
  doc.MediaKey(TMediaKey::kPlayPause);  // nothing plays: play
  EXPECT_TRUE(doc.IsPlayingHere());
  doc.MediaKey(TMediaKey::kPlayPause);  // playing: pause
  EXPECT_TRUE(host->playback.paused);
  doc.MediaKey(TMediaKey::kStop);
  EXPECT_EQ(host->stops, 1);
  EXPECT_FALSE(doc.IsPlayingHere());
}

}  // namespace
}  // namespace kvt
