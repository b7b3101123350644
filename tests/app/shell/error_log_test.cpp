// The alert log: bounded, trimmed, counted, safe from several threads.

#include "app/shell/error_log.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/shell/tarlowmede_app.h"

namespace kvt {
namespace {

TEST(ErrorLogTest, KeepsTheLast256LinesAndCountsAll) {
  TKVErrorLog log;
  for (int i = 1; i <= 300; ++i) log.Printf("alert %d", i);
  const TKVErrorLog::TSnapshot snapshot = log.Snapshot();
  ASSERT_EQ(snapshot.lines.size(), 256u);
  EXPECT_EQ(snapshot.total, 300u);
  EXPECT_EQ(snapshot.FirstNumber(), 45u);
  EXPECT_EQ(snapshot.lines.front(), "alert 45");
  EXPECT_EQ(snapshot.lines.back(), "alert 300");
}

TEST(ErrorLogTest, TrimsAndSkipsEmptyLines) {
  TKVErrorLog log;
  log.AddLine(" \t\r\n ");
  log.AddLine("");
  log.AddLine("\t The 'x' out port failed \r\n");
  const TKVErrorLog::TSnapshot snapshot = log.Snapshot();
  EXPECT_EQ(snapshot.total, 1u);
  EXPECT_EQ(snapshot.lines, std::vector<std::string>{"The 'x' out port failed"});
  log.Clear();
  EXPECT_EQ(log.Snapshot().total, 0u);
  EXPECT_TRUE(log.Snapshot().lines.empty());
  EXPECT_EQ(log.Snapshot().FirstNumber(), 1u);
}

TEST(ErrorLogTest, LongLinesAreCutOnACharacterBoundary) {
  TKVErrorLog log;
  std::string text(TKVErrorLog::kMaxLineBytes - 1, 'a');
  text += "\xC3\xA9\xC3\xA9";  // the first two-byte letter straddles the cut
  log.Printf("%s", text.c_str());
  const std::string line = log.Snapshot().lines.at(0);
  EXPECT_EQ(line, std::string(TKVErrorLog::kMaxLineBytes - 1, 'a'));
  // A line longer than 1024 bytes is kept whole up to the cut.
  EXPECT_GT(line.size(), 1024u);
}

TEST(ErrorLogTest, LinesFromSeveralThreadsAllArrive) {
  TKVErrorLog log;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < 100; ++i) log.Printf("thread %d line %d", t, i);
    });
  }
  for (int i = 0; i < 50; ++i) EXPECT_LE(log.Snapshot().lines.size(), 256u);
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(log.Snapshot().total, 400u);
  EXPECT_EQ(log.Snapshot().lines.size(), 256u);
}

TEST(ErrorLogTest, ErrorLogPrintfWritesToTheApplicationsLog) {
  TTarlowmedeApp& app = *TTarlowmedeApp::Running();
  app.ErrorLog().Clear();
  std::thread worker(
      [] { ErrorLogPrintf("Missing font '%s' referenced by %s", "Arial", "a.kvt"); });
  worker.join();
  EXPECT_EQ(app.ErrorLog().Snapshot().lines,
            std::vector<std::string>{"Missing font 'Arial' referenced by a.kvt"});
  app.ErrorLog().Clear();
}

}  // namespace
}  // namespace kvt
