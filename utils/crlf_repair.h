#pragma once
// Detecting and undoing the damage of a text-mode transfer to a binary file, where every line
// feed became a carriage return plus line feed.

namespace kvt {

// True when the file has at least one line feed and every line feed follows a carriage
// return; defaultResult when it has no line feed at all; false on a bare line feed, when the
// file cannot be opened or cannot be read.
bool HasCrLfLineEndsOnly(const char* path, bool defaultResult);

// Copies source into a new destination, writing each carriage return plus line feed as one
// line feed; every other carriage return is copied as it is. False when the source cannot be
// opened or read, on a bare line feed (the copy stops there), or when writing, flushing or
// closing the destination failed.
bool ConvertCrLfToLf(const char* source, const char* destination);

}  // namespace kvt
