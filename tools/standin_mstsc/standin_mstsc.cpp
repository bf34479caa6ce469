// Stand-in remote-desktop client. Started as "mstsc PATH SWITCHES", it writes into the directory
// named by the environment variable LUMORA_STANDIN_LOG:
//   argv.txt          the arguments as the system's parser splits them, UTF-8, one per line (LF)
//   session.rdp       a byte copy of the first argument after the program name that is no switch
//   command-line.txt  the raw command line (ANSI code page), written last: once it exists, the
//                     other two are complete
// then exits 0. Without the variable it records nothing. With LUMORA_STANDIN_TELLS=1 it then
// plays a client that fails a little after it came up: idle for a moment, then a message box of
// its own ("远程桌面连接"), and it exits 1 once the box is answered.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

namespace {

// Owns a handle from CreateFileW.
class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      ::CloseHandle(handle_);
    }
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Write(std::string_view bytes) {
    if (handle_ == INVALID_HANDLE_VALUE) {
      return false;
    }
    DWORD written = 0;
    return ::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
  }

 private:
  HANDLE handle_;
};

// Owns the array from CommandLineToArgvW.
class Arguments {
 public:
  Arguments() : words_(::CommandLineToArgvW(::GetCommandLineW(), &count_)) {}
  ~Arguments() { ::LocalFree(words_); }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  int count() const { return words_ == nullptr ? 0 : count_; }
  const wchar_t* operator[](int index) const { return words_[index]; }

 private:
  int count_ = 0;
  wchar_t** words_;
};

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  File file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Write(bytes);
}

std::string ToUtf8(const wchar_t* text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) {
    return {};
  }
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  out.pop_back();
  return out;
}

std::wstring LogDirectory() {
  const DWORD length = ::GetEnvironmentVariableW(L"LUMORA_STANDIN_LOG", nullptr, 0);
  if (length == 0) {
    return {};
  }
  std::wstring directory(length, L'\0');
  const DWORD written = ::GetEnvironmentVariableW(L"LUMORA_STANDIN_LOG", directory.data(), length);
  directory.resize(written);
  return directory;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring log = LogDirectory();
  if (log.empty()) {
    return 0;
  }
  const Arguments arguments;
  std::string lines;
  for (int i = 0; i < arguments.count(); ++i) {
    lines += ToUtf8(arguments[i]) + "\n";
  }
  WriteWholeFile(log + L"\\argv.txt", lines);
  for (int i = 1; i < arguments.count(); ++i) {
    if (arguments[i][0] != L'/') {
      ::CopyFileW(arguments[i], (log + L"\\session.rdp").c_str(), FALSE);
      break;
    }
  }
  const std::wstring pending = log + L"\\command-line.tmp";
  WriteWholeFile(pending, ::GetCommandLineA());
  ::MoveFileExW(pending.c_str(), (log + L"\\command-line.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  wchar_t tells[2] = {};
  if (::GetEnvironmentVariableW(L"LUMORA_STANDIN_TELLS", tells, 2) != 1 || tells[0] != L'1') {
    return 0;
  }
  // Up and idle, waiting for messages, until its timer comes.
  constexpr UINT kComesUpMs = 300;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kComesUpMs, nullptr);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) {
    ::DispatchMessageW(&message);
  }
  ::KillTimer(nullptr, timer);
  ::MessageBoxW(nullptr, L"无法连接到远程计算机。", L"远程桌面连接", MB_OK | MB_ICONERROR);
  return 1;
}
