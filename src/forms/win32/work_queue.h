// Work handed to the user-interface thread through a message-only window.
#pragma once

#include <windows.h>

#include <functional>

#include "forms/win32/win32_handles.h"

namespace lumora::forms::win32 {

// Creates the queue window on the calling thread, which is then the thread that runs the work.
UniqueWindow CreateWorkQueue();

// Queues `work` to run on the queue's thread when its messages are next processed; callable
// from any thread. Work that cannot be queued is dropped.
void PostWork(HWND queue, std::function<void()> work);

// Runs `work` on the queue's thread and waits for it (at once when called on that thread).
void RunAndWait(HWND queue, const std::function<void()>& work);

// Frees the work still queued for a queue about to be destroyed, without running it.
void DropPendingWork(HWND queue);

}  // namespace lumora::forms::win32
