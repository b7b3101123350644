// The copied clip on the clipboard: the compressed bytes as they are, the text built on demand.

#include "app/shell/clip_mime_data.h"

#include <gtest/gtest.h>

#include <zlib.h>
#include <QClipboard>
#include <QGuiApplication>

namespace kvt {
namespace {

std::vector<uint8_t> Gzip(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(compressBound(text.size()) + 64);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(ClipMimeDataTest, OffersTheClipAndItsText) {
  const std::string text = "!TarlowmedeRazadoveClip(2.75,Single)\r\nNote 1\r\n";
  const std::vector<uint8_t> clip = Gzip(text);
  TClipMimeData data(clip);
  EXPECT_EQ(data.formats(), (QStringList{"kvttxt/gzip", "text/plain"}));
  EXPECT_TRUE(data.hasFormat("text/plain"));
  EXPECT_FALSE(data.hasFormat("audio/midi"));
  const QByteArray packed = data.data("kvttxt/gzip");
  EXPECT_EQ(std::vector<uint8_t>(packed.begin(), packed.end()), clip);
  EXPECT_EQ(data.data("text/plain").toStdString(), text);
  EXPECT_EQ(data.text().toStdString(), text);
}

TEST(ClipMimeDataTest, DamagedClipGivesNoText) {
  std::vector<uint8_t> clip = Gzip(std::string(5000, 'a'));
  clip.resize(clip.size() / 2);
  EXPECT_TRUE(TClipMimeData(clip).ClipText().isEmpty());
}

TEST(ClipMimeDataTest, OfferedOnTheClipboard) {
  OfferClipboardData(Gzip("clip text"));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->data("text/plain").toStdString(), "clip text");
}

}  // namespace
}  // namespace kvt
