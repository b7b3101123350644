#pragma once
// Path parsing on POSIX paths: "/" separates the components and "/" alone is the root (there
// are no drive letters or shares). File names compare with case; extensions compare without
// case (HasExtension). Paths are UTF-8 bytes; "/" and "." never occur inside a multi-byte
// character, so byte scanning is safe.
//
// Results are std::string or views into the argument, so no path is ever cut at a fixed
// length. A view stays valid as long as the text it was taken from.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// Offset of the last "." that follows the last "/", or path.size() when there is none.
size_t GetExtensionOffset(std::string_view path);
// Offset just after the last "/", 0 when there is none.
size_t GetFileNameOffset(std::string_view path);
// The file name (after the last "/").
std::string_view GetFileNamePart(std::string_view path);
// The extension with its dot, or an empty view at the end of the path.
std::string_view GetExtensionPart(std::string_view path);
// True when the path's extension equals `extension` without regard to ASCII case; the dot
// of `extension` is optional. An empty extension matches a path without one.
bool HasExtension(std::string_view path, std::string_view extension);

// When the extension is not empty and the path has none, appends a dot (unless the extension
// starts with one) and the extension.
void AddDefaultExtension(std::string& path, std::string_view extension);
// Cuts the path's extension, then appends a dot (unless the new one starts with one) and the
// new extension. An empty extension only cuts: a trailing dot names another file here.
void ReplaceExtension(std::string& path, std::string_view extension);
// With cutFileName, cuts what follows the last "/" (a path without "/" is left alone). Then
// drops trailing "/" characters, except that the root keeps its one "/".
void NormalizeDirPath(std::string& path, bool cutFileName);
// Appends "/" when the path is not empty and does not end in one, then the name.
void AppendPathComponent(std::string& path, std::string_view name);
// A path starting with "/" is left alone; any other (also "sub/name") is put after the
// current directory and a "/". False, with the path unchanged, when the current directory
// cannot be read.
bool MakeAbsolutePath(std::string& path);

// Parts for ExtractPathParts, combined with "|".
inline constexpr int kPathPartFolder = 1;     // the folder with its last "/"
inline constexpr int kPathPartName = 2;       // the file name without its extension
inline constexpr int kPathPartExtension = 4;  // the extension with its dot, or a lone "."
std::string ExtractPathParts(std::string_view path, int parts);

// When the path lies inside `folder` (with or without its trailing "/"), the rest of the path
// after the folder and its separator; nothing when it does not, or when nothing follows.
// Whole components are compared with case: "/a/b" is not a folder of "/a/bc/x".
std::optional<std::string_view> GetPathUnderFolder(std::string_view path, std::string_view folder);

// There are no short (8.3) names here: the path itself.
std::string GetShortPath(std::string_view path);
// The name as stored on disk. Names compare with case, so an existing file is stored under
// exactly the spelling given: the path itself.
std::string GetTrueFileName(std::string_view path);

}  // namespace kvt
