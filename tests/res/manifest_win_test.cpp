// The application manifest as the system applied it to the running program (this test program
// carries the same resources): the run level, the Windows versions it declares, and the common
// controls the loader bound the program to through it.
#include <windows.h>
// commctrl.h and objbase.h need the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Text(const GUID& id) {
  wchar_t wide[40] = {};
  StringFromGUID2(id, wide, 40);
  return Lower(std::string(wide, wide + wcslen(wide)));
}

// With no handle and no flags the query reads the process's default context, which the loader
// made from the executable's manifest, resource 1.
bool QueryProgramContext(ACTIVATION_CONTEXT_INFO_CLASS what, void* info, SIZE_T size, SIZE_T* written) {
  return QueryActCtxW(0, nullptr, nullptr, what, info, size, written) != FALSE;
}

TEST(Manifest, AsksToRunWithTheUsersOwnRights) {
  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  SIZE_T written = 0;
  ASSERT_TRUE(QueryProgramContext(RunlevelInformationInActivationContext, &level, sizeof level, &written));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(level.UiAccess, 0u);
}

TEST(Manifest, DeclaresWindows7To11) {
  alignas(8) unsigned char buffer[1024] = {};
  SIZE_T written = 0;
  ASSERT_TRUE(QueryProgramContext(CompatibilityInformationInActivationContext, buffer, sizeof buffer, &written));
  DWORD count = 0;
  memcpy(&count, buffer, sizeof count);
  // Since Windows 10 1903 (and in Wine) an element also holds a 64-bit "max version tested", which
  // aligns the array to 8 bytes; before, an element was the GUID and the type only.
  const SIZE_T wideStart = 8, wideElement = 32, narrowStart = 4, narrowElement = 20;
  const bool wide = written == wideStart + count * wideElement;
  ASSERT_TRUE(wide || written == narrowStart + count * narrowElement) << written << " bytes, " << count;
  std::vector<std::string> declared;
  for (DWORD i = 0; i < count; ++i) {
    const unsigned char* element = buffer + (wide ? wideStart + i * wideElement : narrowStart + i * narrowElement);
    GUID id;
    DWORD type = 0;
    memcpy(&id, element, sizeof id);
    memcpy(&type, element + sizeof id, sizeof type);
    if (type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) declared.push_back(Text(id));
  }
  std::sort(declared.begin(), declared.end());
  const std::vector<std::string> expected = {
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
  };
  EXPECT_EQ(declared, expected);
}

// comctl32 is not one of the system's known libraries: without the manifest's dependency the loader
// looks for it in the program's folder first. This is the library the program's import is bound to.
// (Wine's version 6 reports 5.81 from DllGetVersion, so the store's folder name tells the version.)
TEST(Manifest, BindsCommonControls6FromTheSideBySideStore) {
  HMODULE controls = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<LPCSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &controls));
  char path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(controls, path, MAX_PATH), 0u);
  EXPECT_NE(Lower(path).find("\\winsxs\\"), std::string::npos) << path;
  EXPECT_NE(Lower(path).find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}

}  // namespace
