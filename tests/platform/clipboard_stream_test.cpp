#include "platform/clipboard_stream.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <string>

namespace kvt {
namespace {

class ClipboardStreamTest : public testing::Test {
protected:
  void TearDown() override { QGuiApplication::clipboard()->clear(); }

  static void Offer(const QString& format, const QByteArray& data) {
    auto* mime = new QMimeData;
    mime->setData(format, data);
    QGuiApplication::clipboard()->setMimeData(mime);  // the clipboard takes ownership
  }

  static std::string ReadAll(TKRVStream& s) {
    std::string bytes(static_cast<size_t>(s.Size()), '\0');
    s.Rewind();
    int got = s.Read(bytes.data(), static_cast<int>(bytes.size()));
    bytes.resize(static_cast<size_t>(got));
    return bytes;
  }
};

TEST_F(ClipboardStreamTest, BinaryFormatKeepsEveryByteIncludingZeros) {
  QByteArray data("\x1f\x8b\x00\x01\x00\xff", 6);
  Offer(QString::fromUtf8(kClipboardFormatScore.data(), kClipboardFormatScore.size()), data);
  TKRVClipbrdStream s(kClipboardFormatScore);
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Size(), 6);
  EXPECT_EQ(ReadAll(s), std::string(data.constData(), 6));
}

TEST_F(ClipboardStreamTest, PlainTextEndsAtItsFirstZeroByte) {
  QByteArray block(64, '\0');
  block.replace(0, 3, "abc");
  Offer("text/plain", block);
  TKRVClipbrdStream s(kClipboardFormatText);
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.Capacity(), 64);
  EXPECT_EQ(ReadAll(s), "abc");
}

TEST_F(ClipboardStreamTest, PlainTextArrivesAsUtf8) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("caf\xc3\xa9 \xe2\x99\xaa"));
  TKRVClipbrdStream s(kClipboardFormatText);
  EXPECT_EQ(ReadAll(s), "caf\xc3\xa9 \xe2\x99\xaa");
}

TEST_F(ClipboardStreamTest, AbsentFormatGivesAFailedEmptyStream) {
  Offer("audio/midi", QByteArray("MThd", 4));
  for (std::string_view format : {kClipboardFormatScore, std::string_view("image/png")}) {
    TKRVClipbrdStream s(format);
    EXPECT_TRUE(s.IsError());
    EXPECT_TRUE(s.IsFailed());
    EXPECT_EQ(s.Size(), 0);
  }
  TKRVClipbrdStream midi(kClipboardFormatMidi);
  EXPECT_EQ(ReadAll(midi), "MThd");
}

TEST_F(ClipboardStreamTest, EmptyClipboardHasNoText) {
  QGuiApplication::clipboard()->clear();
  TKRVClipbrdStream s(kClipboardFormatText);
  EXPECT_TRUE(s.IsFailed());
  EXPECT_EQ(s.Size(), 0);
}

TEST_F(ClipboardStreamTest, WritingFailsAndLeavesTheDataAsItWas) {
  Offer("audio/midi", QByteArray("MThd", 4));
  TKRVClipbrdStream s(kClipboardFormatMidi);
  s.PutByte('x');
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  s.Write("xy", 2);
  EXPECT_TRUE(s.IsFailed());
  EXPECT_EQ(ReadAll(s), "MThd");
}

}  // namespace
}  // namespace kvt
