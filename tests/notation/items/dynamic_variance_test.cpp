#include "notation/items/dynamic_variance.h"

#include <gtest/gtest.h>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"

namespace kvt {
namespace {

TEST(DynamicVarianceTest, RampDirectionsAndTexts) {
  struct Case {
    int style;
    int direction;
    const char* text;
  };
  const Case cases[] = {{kDynVarCrescendo, 1, "cresc."},  {kDynVarDecrescendo, 2, "decresc."},
                        {kDynVarDiminuendo, 2, "dim."},   {kDynVarRinforzando, 0, "rfz"},
                        {kDynVarSforzando, 0, "sfz"},     {9, 0, "***"}};
  for (const Case& c : cases) {
    TDynamicVariance item(c.style);
    EXPECT_EQ(item.GetRampDirection(), c.direction) << c.style;
    EXPECT_EQ(item.GetDisplayText(), c.text) << c.style;
  }
}

TEST(DynamicVarianceTest, NeitherPlaysNorChangesTheState) {
  TStaffContextState fresh;
  TStaffContextState state;
  TMidiFileBuf buffer(4);
  TDynamicVariance item(kDynVarCrescendo);
  item.Perform(state, &buffer);
  item.ApplyToContext(state);
  EXPECT_TRUE(buffer.IsEmpty());
  EXPECT_EQ(state, fresh);
}

}  // namespace
}  // namespace kvt
