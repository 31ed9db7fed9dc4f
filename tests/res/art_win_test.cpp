// The background bitmap and the icons as the program loads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "fw/app_win.h"
#include "fw/gdi_win.h"
#include "fw/owned_handle_win.h"
#include "resource.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "a group icon entry is 14 bytes");

struct IconSize {
  int size;
  int bitCount;
};

// The images an icon resource holds, from its group directory.
std::vector<IconSize> ImagesOf(int id) {
  std::vector<IconSize> images;
  HINSTANCE module = AppInstance();
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (!group) return images;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry entry;
    memcpy(&entry, data + 6 + i * sizeof(GroupIconEntry), sizeof entry);
    images.push_back({entry.width, entry.bitCount});
  }
  return images;
}

}  // namespace

TEST(Art, BackgroundIsA180By120DibSectionOfPastelsDarkeningToTheFrame) {
  COwnedBitmap bitmap(static_cast<HBITMAP>(
      LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(bitmap);
  DIBSECTION dib = {};
  ASSERT_EQ(GetObjectA(bitmap.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 180);
  EXPECT_EQ(dib.dsBm.bmHeight, 120);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
  ASSERT_NE(dib.dsBm.bmBits, nullptr);

  const auto* bytes = static_cast<const BYTE*>(dib.dsBm.bmBits);
  const int stride = dib.dsBm.bmWidthBytes;
  double rim = 0, inside = 0;
  int rimCount = 0, insideCount = 0, bluish = 0, greenish = 0, salmon = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 180; ++x) {
      const BYTE* p = bytes + y * stride + x * 3;
      const int b = p[0], g = p[1], r = p[2];
      const int edge = std::min(std::min(x, 179 - x), std::min(y, 119 - y));
      if (edge < 2) {
        rim += r + g + b;
        ++rimCount;
      } else if (edge >= 10) {
        inside += r + g + b;
        ++insideCount;
        bluish += b > r && b > g;
        greenish += g > r && g > b;
        salmon += r > g && r > b;
      }
    }
  }
  rim /= rimCount;
  inside /= insideCount;
  EXPECT_LT(rim, inside * 0.6) << "the frame is darker than the middle";
  EXPECT_GT(inside / 3, 150) << "pastel, not dark";
  for (int share : {bluish, greenish, salmon}) EXPECT_GT(share, insideCount / 12) << "all three colours show";
}

TEST(Art, IconsHoldTheirSizesInSixteenColours) {
  struct Expected {
    int id;
    std::vector<int> sizes;
  };
  const Expected icons[] = {
      {IDR_MAINFRAME, {16, 32}}, {IDI_ABOUT, {32}}, {IDI_INTERFACE, {16}}, {IDI_WINDOW_BIG, {32}}};
  for (const Expected& icon : icons) {
    SCOPED_TRACE(icon.id);
    const std::vector<IconSize> images = ImagesOf(icon.id);
    ASSERT_EQ(images.size(), icon.sizes.size());
    for (size_t i = 0; i < images.size(); ++i) {
      EXPECT_EQ(images[i].size, icon.sizes[i]);
      EXPECT_EQ(images[i].bitCount, 4);
    }
    for (int size : icon.sizes) {
      COwnedIcon loaded(static_cast<HICON>(
          LoadImageA(AppInstance(), MAKEINTRESOURCEA(icon.id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
      ASSERT_TRUE(loaded) << size;
      ICONINFO info = {};
      ASSERT_TRUE(GetIconInfo(loaded.get(), &info));
      BITMAP colour = {};
      GetObjectA(info.hbmColor, sizeof colour, &colour);
      EXPECT_EQ(colour.bmWidth, size);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    }
  }
}

TEST(Art, IconsTheProgramAsksForButMustNotFindAreAbsent) {
  EXPECT_EQ(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_MISSING)), nullptr);
  EXPECT_EQ(LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_SMALL_MISSING), IMAGE_ICON, 16, 16, 0),
            nullptr);
}
