#include "app/shell/help_topics.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <iterator>

#include "utils/path_utils.h"

namespace kvt {

namespace {

// Dialog ids [first, last] that show another topic.
struct TTopicRange {
  int first;
  int last;
  int topic;
};

constexpr TTopicRange kDialogTopics[] = {
    {83, 83, 81},        {193, 202, 192},     {204, 204, 192}, {206, 207, 192}, {226, 227, 223},
    {228, 228, 192},     {248, 254, 247},     {528, 528, 192}, {529, 529, 15},  {530, 530, 210},
    {531, 531, 11},      {532, 532, 16},      {533, 533, 3},   {543, 543, 211}, {545, 545, 64},
    {546, 546, 20304},   {550, 550, 63},      {551, 551, 192}, {552, 552, 66},  {553, 553, 73},
    {554, 554, 192},     {555, 557, 37},      {562, 562, 38},  {566, 568, 208}, {569, 569, 36},
    {570, 570, 50},      {572, 573, 2},       {575, 580, 3},   {584, 584, 221}, {589, 589, 219},
    {590, 590, 223},     {591, 591, 211},     {593, 593, 208}, {595, 595, 208}, {596, 596, 8192},
    {598, 598, 208},     {601, 601, 224},     {607, 607, 26},  {609, 614, 17},  {617, 617, 561},
    {619, 620, 160},     {621, 621, 17},      {622, 622, 216}, {632, 632, 211}, {635, 635, 166},
    {16389, 16389, 166}, {16390, 16390, 167},
};

}  // namespace

int GetDialogHelpTopic(int resourceId) {
  if (resourceId <= 0) return kHelpContentsTopic;
  const auto* found = std::find_if(std::begin(kDialogTopics), std::end(kDialogTopics),
                                   [resourceId](const TTopicRange& range) {
                                     return resourceId >= range.first && resourceId <= range.last;
                                   });
  return found != std::end(kDialogTopics) ? found->topic : resourceId;
}

std::string HelpFilePath(const std::string& dataFolder) {
  if (dataFolder.empty()) return {};
  std::string path = dataFolder;
  AppendPathComponent(path, kHelpFileName);
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

int HelpCommandTopic(int command) {
  if (command == kHelpContentsTopic) return kHelpContentsTopic;
  if (command >= 193 && command <= 202) return 4352 + command - 193;
  if (command == 206) return 4363;
  return 0;
}

bool ShowHelpTopic(const std::string& dataFolder, int topic) {
  const std::string path = HelpFilePath(dataFolder);
  if (path.empty()) return false;
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
  if (topic != kHelpContentsTopic && topic > 0)
    url.setFragment(QStringLiteral("topic") + QString::number(topic));
  return QDesktopServices::openUrl(url);
}

}  // namespace kvt
