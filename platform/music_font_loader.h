#pragma once
// Loads the music font (Bravura) into the application's font database, once per process:
// from the installed data folder (share/kvt2 beside the program's bin folder) or, when the
// program runs from the build tree, from the font folder the build used. Needs a
// QGuiApplication. Thread-safe.

#include <string>

namespace kvt {

// True once the music font is loaded (it then stands for "KVT2STDA").
bool LoadMusicFont();
bool IsMusicFontLoaded();
// The file the font was or would be loaded from ("" when none exists).
std::string MusicFontFile();

}  // namespace kvt
