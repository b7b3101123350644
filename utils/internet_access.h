#pragma once
// TKVInternetAccess: a minimal HTTP and HTTPS client for one server at a time, on libcurl.
// Open names the server; Get downloads a path into any TKRVStream; Head reads the entity tag.
// One client serves one thread at a time; separate clients may run on separate threads.
//
// Contract of Get and Head:
// - True only when the whole response arrived and its status is 2xx (redirects to http or
//   https are followed, never from https to plain http, at most 10 times).
// - False when no connection could be made or TLS failed (the server's certificate is
//   verified against the system's trusted certificates, or those of SetCaFile): GetStatus
//   is then 0 and the stream is untouched.
// - False when the status is not 2xx: GetStatus tells the status, and Get has still written
//   the body (for example a 404 page) into the stream.
// - False when the body ends early (the server closes before its Content-Length, or a
//   chunked body is cut) or the connection breaks: GetStatus tells the status, the stream
//   holds what arrived and is marked failed (SetFailed).
// - False when the stream fails a write; the transfer stops there.
// Time-outs: the time-out (30000 ms by default, 0 for none of our own) bounds resolving the
// name and connecting; a response that stalls for 30 s fails.

#include "utils/memory_block.h"

#include <cstdint>
#include <string>

namespace kvt {

class TKRVStream;

class TKVInternetAccess {
public:
  TKVInternetAccess();
  ~TKVInternetAccess();
  TKVInternetAccess(const TKVInternetAccess&) = delete;
  TKVInternetAccess& operator=(const TKVInternetAccess&) = delete;

  // Closes any previous connection and names the server: host (a name or an IP address,
  // IPv6 without brackets), port (0 for the scheme's default, else 1 to 65535), secure
  // (https) and the agent name sent with each request (may be null). No network traffic
  // happens yet. False when the host is empty or holds characters that do not belong in a
  // host name, the port is out of range, or the HTTP library cannot start.
  bool Open(const char16_t* host, int port, bool secure, const char16_t* agent);
  bool IsOpen() const;
  void Close();
  // Forgets the last request; the status becomes 0.
  void CloseRequest();
  // Sets the time-out in milliseconds (negative counts as 0), for an open connection at once.
  void SetTimeout(int32_t ms);
  // The HTTP status of the last request, 0 when there was none or no response arrived.
  int32_t GetStatus() const { return status; }
  // A file of PEM certificates to trust instead of the system's (empty: the system's). For
  // servers with a certificate of their own making; verification itself always stays on.
  void SetCaFile(const std::string& path);

  // Downloads `path` (UTF-8, from the server's root; blanks, control characters and non-ASCII
  // bytes are percent-encoded) into the stream, in writes of at most 2048 bytes.
  bool Get(const char* path, TKRVStream& stream);
  // Sends HEAD for `path` and stores the response's entity tag (ETag) as zero-terminated
  // UTF-8 in the block. False also when the response has no entity tag or one longer than
  // 511 bytes.
  bool Head(const char* path, TKVMemoryBlock& tag);

private:
  // Configures the handle for a request of `path` and performs it; the callbacks are set by
  // the caller. Returns libcurl's result code and sets the status.
  int Perform(const char* path);
  void ApplyTimeout();

  TKVMemoryBlock scratch{512};  // wide host and agent to UTF-8
  void* connection = nullptr;   // the library's handle (CURL*); null when not open
  std::string baseUrl;          // "http[s]://host[:port]"
  std::string agent;
  std::string caFile;
  bool secure = false;
  int32_t status = 0;
  int32_t timeoutMs = 30000;
};

}  // namespace kvt
