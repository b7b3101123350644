// The "Import" options page shows the eight settings, held to their ranges, and writes all
// eight back to section "Import" when the options dialog closes with OK (not on Cancel).
#include "app/dialogs/midi_import/import_options_page.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <string>

#include "tools/combo_box.h"
#include "tools/edit_number.h"
#include "tools/property_dialog.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

class ImportOptionsPageTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) saved = old;
    hadOld = old != nullptr;
    setenv("XDG_CONFIG_HOME", folder.path().toUtf8().constData(), 1);
    store = std::make_unique<TSysInfo>();
    store->SetProfileLocation("Tarlowmede Software", "Import Page Test");
  }
  void TearDown() override {
    store.reset();
    if (hadOld)
      setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  template <class T>
  static T* Find(TKVPropertyPage& page, int index) {
    return page.Window()->findChildren<T*>().value(index);
  }

  QTemporaryDir folder;
  std::string saved;
  bool hadOld = false;
  std::unique_ptr<TSysInfo> store;
};

TEST_F(ImportOptionsPageTest, ShowsTheSettingsAndStoresThemOnOkOnly) {
  store->WriteProfileInt("Import", "NoteResolution", 3);
  store->WriteProfileInt("Import", "MaxChordSize", 1000);
  store->WriteProfileInt("Import", "AddPedalMarks", 1);
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok);
    TKVPropertyDialog dialog(nullptr, 901, 0);
    std::unique_ptr<TImportOptionsDlg> page = CreateImportOptionsPage(&dialog, store.get());
    dialog.AddPage("Import", page.get());
    dialog.Create();
    ASSERT_TRUE(page->HasWindow());
    EXPECT_TRUE(Find<QCheckBox>(*page, 0)->isChecked());
    EXPECT_EQ(Find<TKRVComboBox>(*page, 0)->currentIndex(), 3);
    EXPECT_EQ(Find<TKRVComboBox>(*page, 0)->currentText(), QStringLiteral("Eighth Note"));
    EXPECT_EQ(Find<TKRVComboBox>(*page, 1)->itemText(0), QStringLiteral("Whole Rest"));
    EXPECT_EQ(Find<TEditNumber>(*page, 0)->GetValue(), 127);

    Find<TKRVComboBox>(*page, 1)->setCurrentIndex(5);
    Find<QCheckBox>(*page, 4)->setChecked(false);  // "Separate MIDI channels"
    TEditNumber* chord = Find<TEditNumber>(*page, 0);
    chord->selectAll();
    QTest::keyClicks(chord, "12");
    if (ok)
      dialog.PressOk();
    else
      dialog.PressCancel();
    EXPECT_EQ(store->GetProfileInt("Import", "RestResolution", -1), ok ? 5 : -1);
    EXPECT_EQ(store->GetProfileInt("Import", "ExtractChannels", -1), ok ? 0 : -1);
    EXPECT_EQ(store->GetProfileInt("Import", "MaxChordSize", -1), ok ? 12 : 1000);
    EXPECT_EQ(store->GetProfileInt("Import", "NoteResolution", -1), 3);
  }
}

}  // namespace
}  // namespace kvt
