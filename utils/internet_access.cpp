#include "utils/internet_access.h"

#include "utils/debug_log.h"
#include "utils/stream.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace kvt {

namespace {

constexpr int kChunkBytes = 2048;
constexpr size_t kMaxTagBytes = 511;
// A response that delivers nothing for this long fails, as a stalled receive does.
constexpr long kStallSeconds = 30;
constexpr long kMaxRedirects = 10;

bool StartLibrary() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] { started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return started;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters, digits, "-", ".", "_", ":" (IPv6) and non-ASCII bytes (international names); any
// other character could change the meaning of the address built from it.
bool IsValidHost(const std::string& host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '.' || c == '_' || c == ':' || c >= 0x80;
    if (!ok) return false;
  }
  return true;
}

// The path from the server's root with blanks, control characters and non-ASCII bytes
// percent-encoded, as they cannot stand in a request line.
std::string EncodePath(const char* path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  if (path == nullptr || path[0] != '/') encoded += '/';
  for (const char* p = path ? path : ""; *p != 0; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c <= 0x20 || c >= 0x7F) {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    } else {
      encoded += static_cast<char>(c);
    }
  }
  return encoded;
}

struct TBodySink {
  explicit TBodySink(TKRVStream& stream)
      : stream(&stream), wasError(stream.IsError()), wasFailed(stream.IsFailed()) {}
  // A write failed when it raised a flag that was clear before the download.
  bool WriteFailed() const {
    return (!wasError && stream->IsError()) || (!wasFailed && stream->IsFailed());
  }
  TKRVStream* stream;
  bool wasError;
  bool wasFailed;
  bool writeFailed = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* context) {
  TBodySink& sink = *static_cast<TBodySink*>(context);
  size_t total = size * count;
  for (size_t done = 0; done < total;) {
    int n = static_cast<int>(std::min<size_t>(total - done, kChunkBytes));
    sink.stream->Write(data + done, n);
    if (sink.WriteFailed()) {
      sink.writeFailed = true;
      return 0;  // stops the transfer
    }
    done += static_cast<size_t>(n);
  }
  return total;
}

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

struct TTagSink {
  std::string tag;
  bool found = false;
  bool tooLong = false;
};

// Called with each header line of each response (redirects included): keeps the last
// response's ETag value without surrounding blanks.
size_t ReadHeader(char* data, size_t size, size_t count, void* context) {
  TTagSink& sink = *static_cast<TTagSink*>(context);
  size_t total = size * count;
  std::string_view line(data, total);
  if (line.substr(0, 5) == "HTTP/") {
    sink = TTagSink();
    return total;
  }
  static constexpr std::string_view kName = "etag:";
  if (line.size() < kName.size()) return total;
  for (size_t i = 0; i < kName.size(); ++i) {
    if (AsciiLower(line[i]) != kName[i]) return total;
  }
  std::string_view value = line.substr(kName.size());
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
  sink.found = true;
  sink.tooLong = value.size() > kMaxTagBytes;
  sink.tag.assign(value.substr(0, kMaxTagBytes));
  return total;
}

// Header bytes are Latin-1 on the wire; the caller wants UTF-8.
std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (unsigned char c : text) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

bool IsSuccessStatus(int32_t status) { return status >= 200 && status <= 299; }

}  // namespace

TKVInternetAccess::TKVInternetAccess() { StartLibrary(); }

TKVInternetAccess::~TKVInternetAccess() { Close(); }

bool TKVInternetAccess::Open(const char16_t* hostName, int port, bool useTls,
                             const char16_t* agentName) {
  Close();
  status = 0;
  if (!StartLibrary() || hostName == nullptr || port < 0 || port > 65535) return false;
  std::string host = scratch.ToMultiByte(kCodePageUtf8, hostName, 0);
  if (!IsValidHost(host)) return false;
  agent = agentName != nullptr ? scratch.ToMultiByte(kCodePageUtf8, agentName, 0) : "";
  secure = useTls;

  baseUrl = secure ? "https://" : "http://";
  if (host.find(':') != std::string::npos) {
    baseUrl += "[" + host + "]";
  } else {
    baseUrl += host;
  }
  if (port != 0) baseUrl += ":" + std::to_string(port);

  CURL* handle = curl_easy_init();
  if (handle == nullptr) return false;
  // Worker threads use the client: no signals for time-outs.
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  if (!agent.empty()) curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
  if (!caFile.empty()) curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.c_str());
  connection = handle;
  ApplyTimeout();
  return IsOpen();
}

bool TKVInternetAccess::IsOpen() const { return connection != nullptr; }

void TKVInternetAccess::Close() {
  CloseRequest();
  if (connection != nullptr) curl_easy_cleanup(static_cast<CURL*>(connection));
  connection = nullptr;
}

void TKVInternetAccess::CloseRequest() { status = 0; }

void TKVInternetAccess::SetTimeout(int32_t ms) {
  timeoutMs = std::max<int32_t>(ms, 0);
  ApplyTimeout();
}

void TKVInternetAccess::ApplyTimeout() {
  if (connection == nullptr) return;
  curl_easy_setopt(static_cast<CURL*>(connection), CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(timeoutMs));
}

void TKVInternetAccess::SetCaFile(const std::string& path) {
  caFile = path;
  if (connection == nullptr) return;
  curl_easy_setopt(static_cast<CURL*>(connection), CURLOPT_CAINFO,
                   caFile.empty() ? nullptr : caFile.c_str());
}

int TKVInternetAccess::Perform(const char* path) {
  CURL* handle = static_cast<CURL*>(connection);
  std::string url = baseUrl + EncodePath(path);
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  CURLcode result = curl_easy_perform(handle);
  long code = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
  status = (code > 0 && code < 1000) ? static_cast<int32_t>(code) : 0;
  if (result != CURLE_OK) DebugPrintf("HTTP request %s: %s\n", url.c_str(), curl_easy_strerror(result));
  return result;
}

bool TKVInternetAccess::Get(const char* path, TKRVStream& stream) {
  CloseRequest();
  if (!IsOpen()) return false;
  CURL* handle = static_cast<CURL*>(connection);
  TBodySink sink(stream);
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, nullptr);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, nullptr);
  int result = Perform(path);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
  if (result != CURLE_OK) {
    // A body cut short or a broken connection after the response began: what the stream
    // holds is not the whole document.
    if (status != 0 && !sink.writeFailed) stream.SetFailed();
    return false;
  }
  return IsSuccessStatus(status);
}

bool TKVInternetAccess::Head(const char* path, TKVMemoryBlock& tag) {
  CloseRequest();
  if (!IsOpen()) return false;
  CURL* handle = static_cast<CURL*>(connection);
  TTagSink sink;
  curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, DiscardBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, ReadHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &sink);
  int result = Perform(path);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, nullptr);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, nullptr);
  if (result != CURLE_OK || !IsSuccessStatus(status) || !sink.found || sink.tooLong) return false;
  tag.SetText(Latin1ToUtf8(sink.tag).c_str());
  return true;
}

}  // namespace kvt
