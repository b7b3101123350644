#pragma once
// Small numeric helpers.

#include <cstdint>

namespace kvt {

// Prints x with a printf format holding one floating-point conversion ("%g", "%.2f", ...) into
// buffer, cut to size-1 bytes on a UTF-8 character boundary; returns buffer. The decimal point follows LC_NUMERIC, which the
// program sets to "C" at start; for text that others read back use utils/number_text.h.
char* FormatReal(char* buffer, int size, double x, const char* format);

// -1, 0 or 1 (a NaN gives 0).
int Sign(int value);
int SignReal(float value);

// x rounded as "%01.*f" at n decimals prints it and "%f" reads it back, independent of the
// locale. A negative n means 6, as printf takes it; non-finite values are returned unchanged.
float RoundToDecimals(float x, int n);

// Replaces seed by seed * 25173 + 13849 (modulo 65536), steps + 1 times (once for steps of 0
// or below), and returns the new seed.
uint16_t NextRandom16(uint16_t& seed, int steps);

}  // namespace kvt
