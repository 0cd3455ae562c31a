// The few socket calls the test peers need, the same on Winsock and BSD sockets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vt::test {

using RawSocket = intptr_t;
inline constexpr RawSocket kNoSocket = -1;

// A listening socket on 127.0.0.1 (port 0: any free port); kNoSocket on failure.
RawSocket ListenLoopback(uint16_t port, uint16_t* boundPort);
RawSocket AcceptOne(RawSocket listener);
// -1 on error or time-out, 0 on close.
long RecvSome(RawSocket s, char* buffer, size_t size);
bool SendAll(RawSocket s, const std::string& bytes);
// 1 when the socket has bytes (or a close) to read, 0 after the time-out, -1 on error.
int WaitReadable(RawSocket s, uint32_t milliseconds);
// Orderly close of the sending side: the other end reads end-of-stream.
void ShutdownSend(RawSocket s);
void CloseSocket(RawSocket s);
// Closes with a reset instead of an orderly close.
void ResetSocket(RawSocket s);

}  // namespace vt::test
