#include "platform/win32/socket_layer.h"

#include <atomic>
#include <mutex>

#include "platform/win32/system_library.h"

namespace lumora::platform::win32 {
namespace {

template <typename FunctionPointer>
FunctionPointer Ws2(const char* name) {
  return SystemFunction<FunctionPointer>(L"ws2_32.dll", name);
}

SocketFunctions Loaded() {
  return {
      .startup = Ws2<decltype(&::WSAStartup)>("WSAStartup"),
      .parseAddress = Ws2<decltype(&::inet_addr)>("inet_addr"),
      .resolve = Ws2<decltype(&::gethostbyname)>("gethostbyname"),
      .open = Ws2<decltype(&::socket)>("socket"),
      .close = Ws2<decltype(&::closesocket)>("closesocket"),
      .setOption = Ws2<decltype(&::setsockopt)>("setsockopt"),
      .sendTo = Ws2<decltype(&::sendto)>("sendto"),
      .receiveFrom = Ws2<decltype(&::recvfrom)>("recvfrom"),
  };
}

bool Complete(const SocketFunctions& functions) {
  return functions.startup != nullptr && functions.parseAddress != nullptr &&
         functions.resolve != nullptr && functions.open != nullptr && functions.close != nullptr &&
         functions.setOption != nullptr && functions.sendTo != nullptr &&
         functions.receiveFrom != nullptr;
}

}  // namespace

const SocketFunctions* StartedSockets() {
  static const SocketFunctions functions = Loaded();
  // Every echo asks: once started, the answer needs no lock (30 echoes at once would wait on it).
  static std::atomic<bool> started{false};
  static std::mutex startMutex;
  if (!Complete(functions)) {
    return nullptr;
  }
  if (!started.load()) {
    std::lock_guard lock(startMutex);
    WSADATA data;
    if (!started.load() && functions.startup(MAKEWORD(2, 2), &data) == 0) {
      started.store(true);
    }
  }
  return started.load() ? &functions : nullptr;
}

std::optional<std::uint32_t> ResolveIPv4(const Text& host) {
  const SocketFunctions* sockets = StartedSockets();
  if (sockets == nullptr) {
    return std::nullopt;
  }
  const unsigned long address = sockets->parseAddress(host.c_str());
  if (address != INADDR_NONE) {
    return static_cast<std::uint32_t>(address);
  }
  const hostent* entry = sockets->resolve(host.c_str());
  if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
      entry->h_addr_list[0] == nullptr) {
    return std::nullopt;
  }
  std::uint32_t resolved;
  CopyMemory(&resolved, entry->h_addr_list[0], sizeof(resolved));
  return resolved;
}

}  // namespace lumora::platform::win32
