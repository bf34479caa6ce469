// The reachability pass: every row of the server list is probed with an ICMP echo on a thread of
// its own, at most 30 at a time, and gets "在线"/"离线", the delay and its row image.
#pragma once

#include "platform/echo_probe.h"
#include "platform/handoff_lock.h"

namespace lumora::status {

// The main window's tip when the probe is not available on this computer.
inline constexpr char kProbingImpossibleTip[] =
    "无法检测服务器状态：系统的ICMP服务(icmp.dll)不可用!";

// Workers of all passes together that have been counted and not yet finished.
inline constexpr int kMaxRunningWorkers = 30;

// Held while a worker is counted, uncounted or hands its row's texts to the UI thread; never
// while a probe waits. Shared by every pass.
platform::HandoffLock& WorkerLock();
int RunningWorkerCount();

// Starts a pass over the rows the main window's server list holds now: a dispatcher thread starts
// one worker per row. Returns at once. Runs on the UI thread; does nothing when the main window
// is not loaded.
void StartReachabilityPass();

// The list is being emptied and refilled: results of the passes started before are dropped
// instead of landing on whatever row then has their index. UI thread only.
void InvalidateReachabilityPasses();

// Dispatchers that have not yet seen their last worker finish.
int ReachabilityPassesRunning();

// Passes started from now on probe with `probe` (nullptr: the platform's own).
void SetEchoProbeForTesting(platform::EchoProbe* probe);

}  // namespace lumora::status
