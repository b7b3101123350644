#pragma once
// A score's fonts built at a chosen space, drawing into a recording context, with helpers
// that pick the recorded operations apart.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"

namespace kvt::testing {

class TDrawFixture : public ::testing::Test {
protected:
  void Build(int space) {
    if (fonts && fonts->IsDrawingActive()) fonts->EndDrawing();
    fonts = std::make_unique<TMusicFonts>(data, colors, space);
  }
  // Builds at the space and begins drawing into the recording context.
  void Draw(int space) {
    Build(space);
    dc.Clear();
    fonts->BeginDrawing(&dc, &dc);
  }
  void TearDown() override {
    if (fonts && fonts->IsDrawingActive()) fonts->EndDrawing();
  }

  std::vector<const TRecordedOp*> OpsOf(TRecordedOp::TKind kind) const {
    std::vector<const TRecordedOp*> out;
    for (const TRecordedOp& op : dc.Ops()) {
      if (op.kind == kind) out.push_back(&op);
    }
    return out;
  }
  std::vector<const TRecordedOp*> Paths() const { return OpsOf(TRecordedOp::TKind::kPath); }
  std::vector<const TRecordedOp*> Glyphs() const { return OpsOf(TRecordedOp::TKind::kGlyph); }
  std::vector<const TRecordedOp*> Texts() const { return OpsOf(TRecordedOp::TKind::kText); }

  // Start and end of a recorded two-point line.
  static std::pair<TDcPointF, TDcPointF> LineOf(const TRecordedOp& op) {
    const auto& e = op.path.Elements();
    return {e.front().p[0], e.back().p[0]};
  }
  // Every point of a path, controls included.
  static std::vector<TDcPointF> PointsOf(const TRecordedOp& op) {
    std::vector<TDcPointF> out;
    for (const TDcPath::TElement& e : op.path.Elements()) {
      const int n = e.kind == TDcPath::TKind::kCubic ? 3 : e.kind == TDcPath::TKind::kClose ? 0 : 1;
      for (int i = 0; i < n; ++i) out.push_back(e.p[i]);
    }
    return out;
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  TRecordingContext dc{96, 96};
  std::unique_ptr<TMusicFonts> fonts;
};

}  // namespace kvt::testing
