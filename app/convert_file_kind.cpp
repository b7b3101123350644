#include "app/convert_file_kind.h"

#include "utils/path_utils.h"

namespace kvt {

int GetConvertFileKind(std::string_view path) {
  if (HasExtension(path, ".kvt")) return kConvertBinaryScore;
  if (HasExtension(path, ".kvttxt")) return kConvertTextScore;
  if (HasExtension(path, ".mid")) return kConvertMidiFile;
  if (HasExtension(path, ".info")) return kConvertInfoReport;
  return kConvertUnknown;
}

}  // namespace kvt
