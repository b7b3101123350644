#include "scripting/script_prompt.h"

namespace kvt {
bool ParsePromptType(const std::string& type, TPromptRequest& request) { return false; }
}  // namespace kvt
