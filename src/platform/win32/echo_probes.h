// The two ways the Windows build sends an echo; SystemEchoProbe() picks one (echo_probe.cpp).
// Included by the Windows adapters and their tests only.
#pragma once

#include "platform/echo_probe.h"

namespace lumora::platform::win32 {

// Through the system's ICMP service (icmp.dll), one call per echo.
EchoProbe& IcmpDllEchoProbe();

// Through one raw ICMP socket shared by every echo, whose replies one thread receives and hands
// to the echo that waits for them. Null when no such socket can be opened here (on Windows that
// needs administrator rights; Wine opens one where the host lets its user send ICMP).
EchoProbe* RawSocketEchoProbe();

}  // namespace lumora::platform::win32
