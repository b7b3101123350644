#pragma once
// Shell links: small files that start a program with its arguments from a menu or the desktop.
// On this desktop a link is a launcher file of the freedesktop desktop-entry kind ("Type=
// Application"), whose Exec line holds the target and its arguments quoted by that format's
// rules, so file managers and menus run it.

#include <string>
#include <string_view>

namespace kvt {

class TKVMemoryBlock;

// Writes the link file (replacing any file there, atomically): the target program, the
// arguments (a command line, split as a shell-free start splits it) and the description as the
// entry's name (the target's file name when empty; line breaks become spaces). False when the
// link file cannot be written, or the target is empty or holds a line break.
bool CreateShellLink(const std::string& linkFile, std::string_view target,
                     std::string_view arguments, std::string_view description);

// When the link file exists and is a launcher (or a "Type=Link" entry), puts its target path
// (or address), zero-terminated, into `result`; true when a target was read.
bool ResolveShellLink(const std::string& linkFile, TKVMemoryBlock& result);

}  // namespace kvt
