// A Winsock UDP socket for tests that make traffic and count it in the interface counters.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <vector>

class UdpSocket {
 public:
  // Bound to `address` on a free port; Valid() tells whether that worked.
  explicit UdpSocket(const char* address) {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    handle = started ? socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP) : INVALID_SOCKET;
    local = MakeAddress(address, 0);
    int length = sizeof local;
    bound = handle != INVALID_SOCKET && bind(handle, Address(local), sizeof local) == 0 &&
            getsockname(handle, reinterpret_cast<sockaddr*>(&local), &length) == 0;
    DWORD timeoutMs = 2000;
    if (bound)
      setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                 sizeof timeoutMs);
  }
  ~UdpSocket() {
    if (handle != INVALID_SOCKET) closesocket(handle);
    if (started) WSACleanup();
  }
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  bool Valid() const { return bound; }
  uint16_t Port() const { return ntohs(local.sin_port); }

  // Sends `count` datagrams of `size` bytes one at a time, each after an answer to the previous one
  // came back (the datagram itself when sent to ourselves, or the peer's reply); returns how many
  // answers came.
  int SendEachAndAwaitReturn(const char* address, uint16_t port, int size, int count) {
    const sockaddr_in target = MakeAddress(address, port);
    std::vector<char> payload(size_t(size), 'q'), buffer(65536);
    int returned = 0;
    for (int i = 0; i < count; ++i) {
      if (sendto(handle, payload.data(), size, 0, Address(target), sizeof target) != size) break;
      if (recv(handle, buffer.data(), int(buffer.size()), 0) < 0) break;
      ++returned;
    }
    return returned;
  }

 private:
  static sockaddr_in MakeAddress(const char* address, uint16_t port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr(address);
    return a;
  }
  static const sockaddr* Address(const sockaddr_in& a) { return reinterpret_cast<const sockaddr*>(&a); }

  bool started = false;
  bool bound = false;
  SOCKET handle = INVALID_SOCKET;
  sockaddr_in local = {};
};
