// The GDI owners and guards release and restore exactly what they hold.
#include "fw/gdi_win.h"

#include <gtest/gtest.h>

#include <utility>

TEST(GdiOwners, OwnedObjectsAreDeletedOnceWhenResetMovedOrDestroyed) {
  HFONT first = CreatePointFont(70, "Arial");
  HFONT second = CreatePointFont(90, "Arial");
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

TEST(GdiOwners, SelectGuardPutsThePreviousObjectBack) {
  COwnedMemoryDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  COwnedFont font(CreatePointFont(70, "Arial"));
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_FONT);
  {
    CSelectObjectGuard guard(dc.get(), font.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), original);
}

TEST(GdiOwners, PointFontHeightFollowsTheScreenResolution) {
  COwnedFont font(CreatePointFont(70, "Arial"));
  LOGFONTA described = {};
  ASSERT_NE(GetObjectA(font.get(), sizeof described, &described), 0);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(described.lfHeight, -MulDiv(7, dpi, 72));  // character height, not cell height
}
