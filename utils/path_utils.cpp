#include "utils/path_utils.h"

#include "utils/file_utils.h"

namespace kvt {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view WithoutLeadingDot(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  return extension;
}

// Appends "." unless the extension brings its own, then the extension.
void AppendExtension(std::string& path, std::string_view extension) {
  if (extension.front() != '.') path += '.';
  path += extension;
}

}  // namespace

size_t GetFileNameOffset(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

size_t GetExtensionOffset(std::string_view path) {
  size_t name = GetFileNameOffset(path);
  size_t dot = path.rfind('.');
  return (dot == std::string_view::npos || dot < name) ? path.size() : dot;
}

std::string_view GetFileNamePart(std::string_view path) {
  return path.substr(GetFileNameOffset(path));
}

std::string_view GetExtensionPart(std::string_view path) {
  return path.substr(GetExtensionOffset(path));
}

bool HasExtension(std::string_view path, std::string_view extension) {
  std::string_view own = WithoutLeadingDot(GetExtensionPart(path));
  std::string_view wanted = WithoutLeadingDot(extension);
  if (own.size() != wanted.size()) return false;
  for (size_t i = 0; i < own.size(); ++i) {
    if (AsciiLower(own[i]) != AsciiLower(wanted[i])) return false;
  }
  return true;
}

void AddDefaultExtension(std::string& path, std::string_view extension) {
  if (extension.empty() || GetExtensionOffset(path) != path.size()) return;
  AppendExtension(path, extension);
}

void ReplaceExtension(std::string& path, std::string_view extension) {
  path.resize(GetExtensionOffset(path));
  if (!extension.empty()) AppendExtension(path, extension);
}

void NormalizeDirPath(std::string& path, bool cutFileName) {
  if (cutFileName) {
    size_t name = GetFileNameOffset(path);
    if (name > 0) path.resize(name);
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
}

void AppendPathComponent(std::string& path, std::string_view name) {
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
}

bool MakeAbsolutePath(std::string& path) {
  if (!path.empty() && path.front() == '/') return true;
  std::string absolute = GetCurrentDir();
  if (absolute.empty()) return false;
  AppendPathComponent(absolute, path);
  path = std::move(absolute);
  return true;
}

std::string ExtractPathParts(std::string_view path, int parts) {
  size_t name = GetFileNameOffset(path);
  size_t extension = GetExtensionOffset(path);
  std::string result;
  if (parts & kPathPartFolder) result += path.substr(0, name);
  if (parts & kPathPartName) result += path.substr(name, extension - name);
  if (parts & kPathPartExtension) {
    result += extension < path.size() ? path.substr(extension) : std::string_view(".");
  }
  return result;
}

std::optional<std::string_view> GetPathUnderFolder(std::string_view path,
                                                   std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  if (folder.empty() || path.substr(0, folder.size()) != folder) return std::nullopt;
  std::string_view rest = path.substr(folder.size());
  // The root ends in its separator already; any other folder must be followed by one, so a
  // folder never matches the start of a longer component.
  if (folder != "/") {
    if (rest.empty() || rest.front() != '/') return std::nullopt;
  }
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  if (rest.empty()) return std::nullopt;
  return rest;
}

std::string GetShortPath(std::string_view path) { return std::string(path); }

std::string GetTrueFileName(std::string_view path) { return std::string(path); }

}  // namespace kvt
