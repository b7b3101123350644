// The editing views' clipboard over QClipboard (offscreen: the clipboard of this process):
// the offered clip and its text, ownership until another program's data arrives, and pictures.

#include "app/shell/qt_clipboard_service.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "notation/files/text/clip_exchange.h"
#include "platform/clipboard_stream.h"
#include "print/page_picture.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

std::vector<uint8_t> Gzip(std::string_view text) {
  TKRVFlatRamStream packed(0, 4096);
  {
    TKRVZLibOutStream out(TKRVZLibOutStream::kModeGzip, &packed);
    out.Write(text.data(), static_cast<int>(text.size()));
    EXPECT_TRUE(out.End());
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(packed.Size()));
  packed.Rewind();
  packed.Read(bytes.data(), static_cast<int>(bytes.size()));
  return bytes;
}

std::string Text(const std::optional<std::vector<uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}

TEST(QtClipboardServiceTest, OwnsItsOfferUntilAnotherArrives) {
  TQtClipboardService clipboard(nullptr);
  const std::string text = "!TarlowmedeRazadoveClip(2.75,Single)\r\n|Rest|Dur:4th\r\n";
  const std::vector<uint8_t> clip = Gzip(text);
  ASSERT_TRUE(clipboard.OfferClip(clip));
  EXPECT_TRUE(clipboard.OwnsClipboard());
  EXPECT_EQ(clipboard.StoredClip(), clip);
  EXPECT_TRUE(clipboard.HasFormat(kClipboardFormatScore));
  EXPECT_TRUE(clipboard.HasFormat(kClipboardFormatText));
  EXPECT_EQ(clipboard.ReadFormat(kClipboardFormatScore), clip);
  EXPECT_EQ(Text(clipboard.ReadFormat(kClipboardFormatText)), text);

  // Another program's text: no longer ours, no score format, its text readable.
  QGuiApplication::clipboard()->setText(QStringLiteral("caf\u00e9"));
  EXPECT_FALSE(clipboard.OwnsClipboard());
  EXPECT_FALSE(clipboard.HasFormat(kClipboardFormatScore));
  EXPECT_FALSE(clipboard.ReadFormat(kClipboardFormatScore).has_value());
  EXPECT_EQ(Text(clipboard.ReadFormat(kClipboardFormatText)), "caf\xc3\xa9");
  // The stored clip stays for the next offer.
  EXPECT_EQ(clipboard.StoredClip(), clip);
}

TEST(QtClipboardServiceTest, PicturesGoOnAsSvgAndPng) {
  TQtClipboardService clipboard(nullptr);
  ASSERT_TRUE(clipboard.OfferPicture({'<', 's', 'v', 'g', '/', '>'}, {0x89, 'P', 'N', 'G'}));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->data(kPictureSvgFormat), QByteArray("<svg/>"));
  EXPECT_EQ(data->data(kPicturePngFormat), QByteArray("\x89PNG"));
  EXPECT_FALSE(clipboard.HasFormat(kClipboardFormatScore));
}

}  // namespace
}  // namespace kvt
