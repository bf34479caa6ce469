// Windows only: the handle owner that every Windows adapter uses.
#ifdef _WIN32

#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

namespace lumora::platform::win32 {
namespace {

UniqueKernelHandle NewEvent() {
  return UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

TEST(UniqueHandleTest, DefaultIsEmpty) {
  const UniqueKernelHandle handle;
  EXPECT_FALSE(handle.valid());
  EXPECT_FALSE(static_cast<bool>(handle));
}

TEST(UniqueHandleTest, InvalidHandleValueIsEmpty) {
  WIN32_FIND_DATAA data{};
  const UniqueFindHandle find(::FindFirstFileA("Z:\\no\\such\\directory\\*", &data));
  EXPECT_FALSE(find.valid());
}

TEST(UniqueHandleTest, MoveTransfersOwnership) {
  UniqueKernelHandle first = NewEvent();
  ASSERT_TRUE(first.valid());
  HANDLE raw = first.get();

  UniqueKernelHandle second(std::move(first));
  EXPECT_FALSE(first.valid());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  EXPECT_EQ(second.get(), raw);

  UniqueKernelHandle third;
  third = std::move(second);
  EXPECT_EQ(third.get(), raw);
  EXPECT_TRUE(::SetEvent(third.get()));
}

TEST(UniqueHandleTest, ResetClosesTheHandle) {
  UniqueKernelHandle handle = NewEvent();
  ASSERT_TRUE(handle.valid());
  HANDLE raw = handle.get();
  handle.reset();
  EXPECT_FALSE(handle.valid());
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

TEST(UniqueHandleTest, ReleaseKeepsTheHandleOpen) {
  UniqueKernelHandle handle = NewEvent();
  HANDLE raw = handle.release();
  EXPECT_FALSE(handle.valid());
  DWORD flags = 0;
  EXPECT_TRUE(::GetHandleInformation(raw, &flags));
  ::CloseHandle(raw);
}

TEST(UniqueHandleTest, ClosingKeepsTheLastError) {
  {
    UniqueKernelHandle handle = NewEvent();
    ASSERT_TRUE(handle.valid());
    ::SetLastError(ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  WIN32_FIND_DATAA data{};
  char module[MAX_PATH] = {};
  ASSERT_NE(::GetModuleFileNameA(nullptr, module, MAX_PATH), 0u);
  {
    UniqueFindHandle find(::FindFirstFileA(module, &data));
    ASSERT_TRUE(find.valid());
    ::SetLastError(ERROR_ACCESS_DENIED);
  }
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace lumora::platform::win32

#endif  // _WIN32
