// The printer object: the remembered device in the settings, the PDF printer on machines
// without a print system, and the print command's page range through a scripted dialog.

#include "print/kv_printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <climits>
#include <filesystem>

#include "print/print_command.h"
#include "tests/print/print_fixture.h"
#include "utils/ini_file_io.h"

namespace kvt::test {
namespace {

class TFixedCatalog final : public TPrinterCatalog {
public:
  QStringList PrinterNames() override { return names; }
  QString DefaultPrinterName() override { return defaultName; }
  QStringList names;
  QString defaultName;
};

// Answers for the user: the range, copies and paper to choose, or a cancel.
class TScriptedDialogs final : public TPrintDialogRunner {
public:
  bool RunPrint(QWidget*, QPrinter& printer, int minPage, int maxPage) override {
    limits = {minPage, maxPage};
    if (!confirm) return false;
    if (from > 0) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(from, to);
    }
    printer.setCopyCount(copies);
    return true;
  }
  bool RunSetup(QWidget*, QPrinter& printer) override {
    printer.setPageSize(QPageSize(QPageSize::Letter));
    return confirm;
  }
  bool confirm = true;
  int from = 0;
  int to = 0;
  int copies = 1;
  std::pair<int, int> limits;
};

class KVPrinterTest : public PrintFixture {
protected:
  void SetUp() override {
    PrintFixture::SetUp();
    profile = std::make_shared<TIniProfile>(Path("settings.ini"), DefaultIniFileIo(), true);
    settings = TKey(profile, TKey::kCreate);
  }
  std::string Stored() {
    return TKey(settings, kPrinterSection, TKey::kRead).QueryString("", kPrinterDeviceValue);
  }
  void Store(const char* device) {
    TKey(settings, kPrinterSection, TKey::kCreate).SetString(kPrinterDeviceValue, device);
  }

  std::shared_ptr<TIniProfile> profile;
  TKey settings;
  TFixedCatalog catalog;
  TScriptedDialogs dialogs;
};

TEST_F(KVPrinterTest, AStoredDeviceIsTakenOnlyWhileListed) {
  catalog.names = {"Office", "Hall"};
  catalog.defaultName = "Office";
  Store("Hall");
  TKVPrinter printer(settings, &catalog, &dialogs);
  printer.RestorePrinterDevice();
  EXPECT_EQ(printer.DeviceName(), "Hall");
  EXPECT_EQ(Stored(), "Hall");

  catalog.names = {"Office"};
  TKVPrinter later(settings, &catalog, &dialogs);
  later.RestorePrinterDevice();
  EXPECT_EQ(later.DeviceName(), "Office");
  EXPECT_FALSE(profile->HasSection(kPrinterSection));
}

TEST_F(KVPrinterTest, SaveWritesTheDeviceOrDeletesTheSection) {
  catalog.names = {"Office"};
  catalog.defaultName = "Office";
  TKVPrinter printer(settings, &catalog, &dialogs);
  printer.SavePrinterDevice();
  EXPECT_EQ(Stored(), "Office");

  catalog.names.clear();
  catalog.defaultName.clear();
  TKVPrinter none(settings, &catalog, &dialogs);
  none.SavePrinterDevice();
  EXPECT_FALSE(profile->HasSection(kPrinterSection));
}

TEST_F(KVPrinterTest, WithoutAPrintSystemThePrinterPrintsToPdf) {
  TKVPrinter printer(settings, &catalog, &dialogs);
  EXPECT_TRUE(printer.DeviceName().isEmpty());
  std::unique_ptr<TPrinterDevice> device = printer.CreatePrintDC(QStringLiteral("/tmp/x.pdf"));
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->IsPdf());
  EXPECT_EQ(device->Printer().outputFileName(), "/tmp/x.pdf");
  const TPaperMeasures paper = device->Paper();
  EXPECT_EQ(paper.dpiX, 600);
  EXPECT_EQ(paper.offsetX, 0);
  const QPageSize expected = TPrinterDevice::DefaultPaper();
  EXPECT_EQ(paper.physicalWidth, expected.sizePixels(600).width());
  EXPECT_EQ(paper.physicalHeight, expected.sizePixels(600).height());
}

TEST_F(KVPrinterTest, ADeviceThatLeftThePrintSystemPrintsToPdf) {
  catalog.names = {"Office"};
  catalog.defaultName = "Office";
  TKVPrinter printer(settings, &catalog, &dialogs);
  catalog.names.clear();
  std::unique_ptr<TPrinterDevice> device = printer.CreatePrintDC(QStringLiteral("/tmp/x.pdf"));
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->IsPdf());
}

TEST_F(KVPrinterTest, PrinterSetupKeepsThePaperForLaterJobs) {
  TKVPrinter printer(settings, &catalog, &dialogs);
  ASSERT_TRUE(printer.PrinterSetup(nullptr));
  std::unique_ptr<TPrinterDevice> device = printer.CreatePrintDC();
  ASSERT_TRUE(device);
  EXPECT_EQ(device->Printer().pageLayout().pageSize().id(), QPageSize::Letter);
}

TEST_F(KVPrinterTest, PrintedNumbersFromThreeChoosePageIndexes) {
  auto score = ScoreOfPages(5);
  ASSERT_TRUE(score);
  score->SetPageNumbers(3);
  TKVPrinter printer(settings, &catalog, &dialogs);
  dialogs.from = 4;
  dialogs.to = 5;
  const std::string document = Path("Song.kvt");
  const std::string pdf = DefaultPdfPath(document);
  EXPECT_EQ(pdf, Path("Song.pdf"));
  TKVBoolArray all(score->GetStaffCount());
  all.SetAll(true);
  ASSERT_EQ(PrintScore(nullptr, *score, all, document, printer, colors, services), 1);
  EXPECT_EQ(dialogs.limits, std::make_pair(3, INT_MAX));
  ASSERT_EQ(PdfPageCount(pdf), 2);
  const std::vector<std::string> second = PdfWords(pdf, 1);
  EXPECT_NE(std::find(second.begin(), second.end(), "4"), second.end());
  const std::vector<std::string> third = PdfWords(pdf, 2);
  EXPECT_NE(std::find(third.begin(), third.end(), "5"), third.end());

  dialogs.confirm = false;
  std::filesystem::remove(pdf);
  EXPECT_EQ(PrintScore(nullptr, *score, all, document, printer, colors, services), 0);
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST(DefaultPdfPath, BesideTheScoreOrUntitledAtHome) {
  EXPECT_EQ(DefaultPdfPath("/scores/Song.kvt"), "/scores/Song.pdf");
  EXPECT_EQ(DefaultPdfPath("/scores/Song"), "/scores/Song.pdf");
  EXPECT_EQ(DefaultPdfPath(""), QDir::homePath().toStdString() + "/Untitled.pdf");
}

}  // namespace
}  // namespace kvt::test
