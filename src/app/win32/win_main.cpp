// The program's entry point on Windows: real windows, then the start window.
#include <windows.h>

#include "app/program.h"
#include "forms/win32/win32_window_system.h"
#include "forms/window_model.h"
#include "platform/echo_probe.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  lumora::forms::Win32WindowSystem system;
  lumora::forms::InstallWindowSystem(system);
  // Reachability workers may still be probing: end the process here, while the window system
  // they post their results to still exists, once their echoes are back.
  const int exitCode = lumora::app::RunLumora();
  lumora::platform::StopEchoes(lumora::platform::kProbeTimeoutMs + 500);
  ExitProcess(static_cast<UINT>(exitCode));
}
