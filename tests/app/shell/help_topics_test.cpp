// Help topics of dialogs and menu commands, and the help file that may be missing.

#include "app/shell/help_topics.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

TEST(HelpTopicsTest, DialogTopics) {
  const struct {
    int id;
    int topic;
  } cases[] = {
      {-5, 192},  {0, 192},     {1, 1},       {83, 81},       {193, 192}, {202, 192},   {203, 203},
      {204, 192}, {205, 205},   {206, 192},   {207, 192},     {226, 223}, {227, 223},   {247, 247},
      {248, 247}, {254, 247},   {255, 255},   {529, 15},      {533, 3},   {546, 20304}, {555, 37},
      {557, 37},  {558, 558},   {574, 574},   {575, 3},       {580, 3},   {581, 581},   {590, 223},
      {594, 594}, {596, 8192},  {608, 608},   {609, 17},      {614, 17},  {615, 615},   {621, 17},
      {635, 166}, {16389, 166}, {16390, 167}, {16391, 16391},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDialogHelpTopic(c.id), c.topic) << c.id;
}

TEST(HelpTopicsTest, MenuCommandTopics) {
  const struct {
    int command;
    int topic;
  } cases[] = {{192, 192}, {193, 4352}, {195, 4354}, {202, 4361}, {206, 4363},
               {203, 0},   {204, 0},    {205, 0},    {207, 0}};
  for (const auto& c : cases) EXPECT_EQ(HelpCommandTopic(c.command), c.topic) << c.command;
}

TEST(HelpTopicsTest, WithoutAHelpFileNothingOpens) {
  TTempFolder folder;
  EXPECT_EQ(HelpFilePath(folder.Path()), "");
  EXPECT_EQ(HelpFilePath(""), "");
  EXPECT_FALSE(ShowHelpTopic(folder.Path(), kHelpContentsTopic));
  // A folder under the name is no help file.
  std::filesystem::create_directory(folder / kHelpFileName);
  EXPECT_EQ(HelpFilePath(folder.Path()), "");
  std::filesystem::remove(folder / kHelpFileName);
  TTempFolder::WriteFile(folder / kHelpFileName, "<html></html>");
  EXPECT_EQ(HelpFilePath(folder.Path()), folder / kHelpFileName);
}

}  // namespace
}  // namespace kvt
