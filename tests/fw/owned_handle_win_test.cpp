// The handle owner releases exactly what it holds, whatever the kind; the point font follows the screen.
#include "fw/owned_handle_win.h"

#include <gtest/gtest.h>

#include <utility>

#include "fw/gdi_win.h"
#include "support/temp_directory_win.h"

TEST(HandleOwners, GdiObjectsAreDeletedOnceWhenResetMovedOrDestroyed) {
  HFONT first = CreatePixelFont(-9, "Arial");
  HFONT second = CreatePixelFont(-12, "Arial");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  {
    COwnedFont font(first);
    font.Reset(second);
    EXPECT_EQ(GetObjectType(first), 0u);  // replaced: deleted
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
    COwnedFont moved(std::move(font));
    EXPECT_FALSE(font);
    EXPECT_EQ(moved.get(), second);
    moved.Reset(second);  // the same handle again is kept, not deleted
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_EQ(GetObjectType(second), 0u);

  HPEN kept = nullptr;
  {
    COwnedPen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    kept = pen.Detach();
  }
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));
  DeleteObject(kept);

  HDC memory = CreateCompatibleDC(nullptr);
  { COwnedMemoryDC dc(memory); }
  EXPECT_EQ(GetObjectType(memory), 0u);
}

// A failed CreateFile gives INVALID_HANDLE_VALUE, not null: the owner must hold nothing then.
TEST(HandleOwners, FilesAndTheLibraryAreClosedAndAFailedOpenHoldsNothing) {
  TempDirectory directory;
  COwnedFile failed(CreateFileA("no-such-file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.get(), nullptr);

  HANDLE raw = nullptr;
  {
    COwnedFile file(CreateFileA("owned.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    raw = file.get();
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed with its owner";
  // Only a file nobody holds open can be deleted at once.
  EXPECT_TRUE(DeleteFileA("owned.txt"));

  HMODULE before = GetModuleHandleA("msacm32.dll");
  {
    COwnedLibrary library(LoadLibraryA("msacm32.dll"));
    ASSERT_TRUE(library);
  }
  if (before == nullptr) EXPECT_EQ(GetModuleHandleA("msacm32.dll"), nullptr) << "freed with its owner";
}

TEST(PointFont, HeightFollowsTheScreenResolution) {
  COwnedFont font(CreatePixelFont(-9, "Arial"));
  LOGFONTA described = {};
  ASSERT_NE(GetObjectA(font.get(), sizeof described, &described), 0);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(described.lfHeight, -MulDiv(7, dpi, 72));  // character height, not cell height
}
