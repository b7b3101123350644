#pragma once
// Diagnostics for developers: written to standard error only when KVT_DEBUG is set in the
// environment, so users never see them.

namespace kvt {

// printf-style; the formatted text is cut to 511 bytes.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

bool IsDebugOutputEnabled();

}  // namespace kvt
