// Two connected TCP sockets on 127.0.0.1, both ends in this process: the way to hand bytes to a
// Unix program's standard input under Wine, and to read its output. A pipe from CreatePipe lives
// inside wineserver and has no Unix descriptor, so Wine starts a Unix program with /dev/null
// instead; a socket is a real Unix socket, and Wine makes it the program's descriptor 0.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32/unique_handle.h"

namespace rdp_client {

namespace detail {
void CloseSocket(std::uintptr_t socket) noexcept;
}  // namespace detail

// SOCKET is an unsigned integer the size of a pointer; INVALID_SOCKET has all bits set.
using UniqueSocket = lumora::platform::win32::UniqueHandle<std::uintptr_t, &detail::CloseSocket>;

// Winsock for as long as it lives.
class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;

  bool ready() const { return ready_; }

 private:
  bool ready_ = false;
};

// Either end may read and write.
struct LoopbackPair {
  UniqueSocket childEnd;  // goes to the child
  UniqueSocket ownEnd;    // stays here
};

// Nothing when no such pair can be made. A stranger who connects to the short-lived listener
// first is turned away: only the connection from `ownEnd` is taken.
std::optional<LoopbackPair> OpenLoopbackPair();

}  // namespace rdp_client
