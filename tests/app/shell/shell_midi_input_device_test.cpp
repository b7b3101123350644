// The program's MIDI input device: the input named in "MIDI In Ports", port sharing from the
// options, and (only where the ALSA sequencer exists) a named input that is not there.

#include "app/shell/shell_midi_input_device.h"

#include <gtest/gtest.h>

#include "app/shell/tarlowmede_app.h"

namespace kvt {
namespace {

class TSilentReceiver final : public TMidiInputReceiver {
public:
  void OnMidiInput(uint32_t) override { ++count; }
  int count = 0;
};

class ShellMidiInputDeviceTest : public ::testing::Test {
protected:
  void TearDown() override { settings.WriteProfileString("MIDI In Ports", "0", nullptr); }
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  TAlertLog& alerts = TTarlowmedeApp::Running()->ErrorLog();
  TAppOptions options;
};

TEST_F(ShellMidiInputDeviceTest, InputNamedInTheSettings) {
  settings.WriteProfileString("MIDI In Ports", "0", nullptr);
  TShellMidiInputDevice device(settings, alerts, options);
  EXPECT_FALSE(device.HasInputDevice());
  settings.WriteProfileString("MIDI In Ports", "0", "Test Keyboard");
  EXPECT_TRUE(device.HasInputDevice());
}

TEST_F(ShellMidiInputDeviceTest, PortSharingWhenPortsOpenOnlyWhilePlaying) {
  TShellMidiInputDevice device(settings, alerts, options);
  const struct {
    int usage;
    bool shared;
  } cases[] = {{0, false}, {1, true}, {2, false}};
  for (const auto& c : cases) {
    options.Set(kOptMidiPortUsage, c.usage);
    EXPECT_EQ(device.IsPortShared(), c.shared) << c.usage;
  }
}

TEST_F(ShellMidiInputDeviceTest, MissingInputFailsToOpen) {
  if (!HasAlsaSequencer()) GTEST_SKIP() << "no ALSA sequencer on this machine";
  settings.WriteProfileString("MIDI In Ports", "0", "No Such Keyboard 7f3a");
  TShellMidiInputDevice device(settings, alerts, options);
  TSilentReceiver receiver;
  EXPECT_FALSE(device.Open(receiver));
  device.Close();
  EXPECT_EQ(receiver.count, 0);
}

}  // namespace
}  // namespace kvt
