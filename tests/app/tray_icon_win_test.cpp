// The notification-area icon: the icon built from the two tray surfaces, and the real shell's tray
// (Wine's own tray window) adding, changing and removing it.
#include "app/tray_icon_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/meter_platform_win.h"
#include "render/tray_picture.h"
#include "support/shell_notify_recorder_win.h"
#include "support/test_meter.h"

namespace {

constexpr int kSide = kTraySize;
using Picture = std::vector<COLORREF>;  // 16 x 16, top-down, RGB()

// A top-level window that is never shown, to own the icon and receive its callback.
class OwnerWindow {
 public:
  OwnerWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuintrelTrayTestOwner";
    RegisterClassA(&windowClass);
    handle = CreateWindowA("QuintrelTrayTestOwner", "tray owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
  }
  ~OwnerWindow() { DestroyWindow(handle); }
  HWND handle;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The picture in a 32-bit top-down DIB section, compared pixel by pixel.
class ScratchBitmap {
 public:
  ScratchBitmap(int w, int h) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    void* memory = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<uint32_t*>(memory);
    previous = SelectObject(dc, bitmap);
  }
  ~ScratchBitmap() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(COLORREF colour) {
    for (int i = 0; i < width * height; ++i) bits[i] = Pixel(colour);
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool Holds(const Picture& picture, int left, int top) const {
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        if (At(left + x, top + y) != picture[y * kSide + x]) return false;
    return true;
  }
  bool HoldsAnywhere(const Picture& picture, POINT* where = nullptr) const {
    for (int top = 0; top + kSide <= height; ++top)
      for (int left = 0; left + kSide <= width; ++left)
        if (Holds(picture, left, top)) {
          if (where != nullptr) *where = POINT{left, top};
          return true;
        }
    return false;
  }

  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  uint32_t* bits = nullptr;

 private:
  static uint32_t Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
};

Picture IconPicture(HICON icon, COLORREF backdrop, int side = kSide) {
  ScratchBitmap target(side, side);
  target.Fill(backdrop);
  DrawIconEx(target.dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
  Picture picture;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) picture.push_back(target.At(x, y));
  return picture;
}

// What the icon should look like: the image surface's rows count from the bottom.
Picture SurfacePicture(PixelSurface& image) {
  Picture picture;
  for (int y = image.height - 1; y >= 0; --y)
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.bits + (x + y * image.width) * 3;
      picture.push_back(RGB(p[2], p[1], p[0]));
    }
  return picture;
}

// A picture no other process's icon shows: colours taken from our process id.
void DrawSignature(PixelSurface& image) {
  const DWORD id = GetCurrentProcessId();
  image.ZeroPixels();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      image.PutPixel(x, y, uint8_t(id + x), uint8_t(id >> 8), uint8_t(40 + y * 10));
}

HWND WineTrayWindow() {
  return FindWindowA("__winex11_standalone_tray", nullptr);
}

BOOL CALLBACK CollectTrayIcon(HWND child, LPARAM list) {
  char name[64] = {};
  GetClassNameA(child, name, sizeof name);
  if (strcmp(name, "__winex11_tray_icon") == 0 && IsWindowVisible(child))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> TrayIconWindows() {
  std::vector<HWND> found;
  HWND tray = WineTrayWindow();
  if (tray == nullptr) return found;
  EnumChildWindows(tray, CollectTrayIcon, LPARAM(&found));
  return found;
}

// Reads the screen where each of the shell's icon windows lies.
bool ScreenShows(const Picture& picture, POINT* where = nullptr) {
  // When another test's icon leaves, Wine moves ours along without always repainting it.
  RedrawWindow(WineTrayWindow(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (HWND child : TrayIconWindows()) {
    RECT area;
    GetWindowRect(child, &area);
    ScratchBitmap copy(area.right - area.left, area.bottom - area.top);
    HDC screen = GetDC(nullptr);
    BitBlt(copy.dc, 0, 0, copy.width, copy.height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    POINT inside = {};
    if (copy.HoldsAnywhere(picture, &inside)) {
      if (where != nullptr) *where = POINT{area.left + inside.x, area.top + inside.y};
      return true;
    }
  }
  return false;
}

// Other tests' windows open at the top-left corner, where the tray starts: move it aside, on top.
void BringTrayIntoView() {
  SetWindowPos(WineTrayWindow(), HWND_TOPMOST, GetSystemMetrics(SM_CXSCREEN) / 2,
               GetSystemMetrics(SM_CYSCREEN) - 160, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

// The shell draws on its own thread; wait for it a while.
template <typename Condition>
bool WaitFor(Condition condition) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    PumpMessages();
    if (condition()) return true;
    Sleep(50);
  }
  return false;
}

TEST(TrayIcon, FirstIconIsAnOpaqueBlackSquareWithItsHotspotInTheMiddle) {
  CTrayIcon tray;
  ASSERT_TRUE(tray.CreateFirstIcon());
  ASSERT_NE(tray.Icon(), nullptr);

  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(tray.Icon(), &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 8u);
  EXPECT_EQ(info.yHotspot, 8u);
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, kSide);
  EXPECT_EQ(colour.bmHeight, kSide);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  // On white and on magenta alike every pixel is black: the mask lets nothing through.
  EXPECT_EQ(IconPicture(tray.Icon(), RGB(255, 255, 255)), Picture(kSide * kSide, RGB(0, 0, 0)));
  EXPECT_EQ(IconPicture(tray.Icon(), RGB(255, 0, 255)), Picture(kSide * kSide, RGB(0, 0, 0)));
  EXPECT_EQ(tray.Image().ByteCount(), 768u);
}

TEST(TrayIcon, ReplaceShowsTheImageRightSideUpWithOneIconHandleAtATime) {
  CTrayIcon tray;
  ASSERT_TRUE(tray.CreateFirstIcon());
  PixelSurface& image = tray.Image();
  // Row 0 of the surface is the bottom of the picture: a green bottom row, a red left column.
  for (int x = 0; x < kSide; ++x) image.PutPixel(x, 0, 0, 255, 0);
  for (int y = 1; y < kSide; ++y) image.PutPixel(0, y, 0, 0, 255);
  image.PutPixel(15, 15, 255, 0, 0);

  const HICON first = tray.Icon();
  tray.Replace("tip");
  ASSERT_NE(tray.Icon(), nullptr);
  const Picture shown = IconPicture(tray.Icon(), RGB(255, 0, 255));
  EXPECT_EQ(shown, SurfacePicture(image));
  EXPECT_EQ(shown[15 * kSide + 7], RGB(0, 255, 0));  // bottom row on the screen
  EXPECT_EQ(shown[0 * kSide + 0], RGB(255, 0, 0));   // top-left
  EXPECT_EQ(shown[0 * kSide + 15], RGB(0, 0, 255));  // top-right
  EXPECT_EQ(shown[7 * kSide + 7], RGB(0, 0, 0));

  // The handle replaced each second is destroyed, so the icons do not pile up.
  HICON previous = tray.Icon();
  for (int second = 0; second < 30; ++second) tray.Replace("tip");
  ICONINFO info = {};
  if (first != tray.Icon()) EXPECT_FALSE(GetIconInfo(first, &info));
  if (previous != tray.Icon()) EXPECT_FALSE(GetIconInfo(previous, &info));
}

TEST(TrayIcon, TipIsCutToTheSixtyThreeCharactersTheRecordHolds) {
  CTrayIcon tray;
  ASSERT_TRUE(tray.CreateFirstIcon());
  tray.Replace("12.50 KB/s received  3.00 KB/s sent");
  EXPECT_STREQ(tray.Tip(), "12.50 KB/s received  3.00 KB/s sent");
  const std::string longTip(100, 'x');
  tray.Replace(longTip.c_str());
  EXPECT_EQ(std::string(tray.Tip()), std::string(63, 'x'));
  tray.Replace(nullptr);
  EXPECT_STREQ(tray.Tip(), "");
}

TEST(TrayIcon, NothingReachesTheShellBeforeTheSurfacesExist) {
  CTrayIcon tray;
  EXPECT_FALSE(tray.Replace("tip"));
  EXPECT_EQ(tray.Icon(), nullptr);
}

// The shutdown deletes the two surfaces' bitmaps; the icon made from them before stays valid, and
// no new one is made from bitmaps that are gone.
TEST(TrayIcon, ReleasedBitmapsAreDeletedAndMakeNoFurtherIcon) {
  CTrayIcon tray;
  ASSERT_TRUE(tray.CreateFirstIcon());
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(tray.Icon(), &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  const HICON shown = tray.Icon();
  const HBITMAP picture = tray.Image().Bitmap();
  ASSERT_EQ(GetObjectType(picture), DWORD(OBJ_BITMAP));
  tray.ReleaseBitmaps();
  EXPECT_EQ(GetObjectType(picture), 0u) << "the picture's bitmap outlives the shutdown";
  EXPECT_EQ(tray.Image().bits, nullptr);
  EXPECT_FALSE(tray.Replace("after the shutdown"));
  EXPECT_EQ(tray.Icon(), shown);
  EXPECT_TRUE(GetIconInfo(shown, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST(TrayIconInTheShell, AddedChangedRemovedAndAddedAgainAfterTheTaskbarReturns) {
  OwnerWindow owner;
  CTrayIcon tray;
  tray.SetWindow(owner.handle);
  ASSERT_TRUE(tray.CreateFirstIcon());

  // The shell knows no such icon yet, so it cannot change it.
  EXPECT_FALSE(tray.Replace("not yet"));

  ASSERT_TRUE(tray.Add());
  ASSERT_NE(WineTrayWindow(), nullptr);
  EXPECT_TRUE(WaitFor([] { return IsWindowVisible(WineTrayWindow()) != FALSE; }));
  BringTrayIntoView();

  DrawSignature(tray.Image());
  const Picture signature = SurfacePicture(tray.Image());
  EXPECT_TRUE(tray.Replace("1.00 KB/s received  2.00 KB/s sent"));
  EXPECT_TRUE(WaitFor([&] { return ScreenShows(signature); })) << "the new picture is not in the tray";

  // A restarted taskbar has lost every icon; ours comes back with the picture it last had.
  NOTIFYICONDATAA lost = {};
  lost.cbSize = NOTIFYICONDATAA_V1_SIZE;
  lost.hWnd = owner.handle;
  lost.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &lost));
  EXPECT_TRUE(WaitFor([&] { return !ScreenShows(signature); }));
  EXPECT_TRUE(tray.Readd());
  EXPECT_TRUE(WaitFor([&] { return ScreenShows(signature); })) << "the icon did not come back";

  // Once the program has taken it out (Exit, the end of the session), it stays out.
  EXPECT_TRUE(tray.Delete());
  EXPECT_TRUE(WaitFor([&] { return !ScreenShows(signature); })) << "the icon stays after its deletion";
  EXPECT_FALSE(tray.Replace("gone"));
  EXPECT_FALSE(tray.Readd());
  Sleep(300);
  EXPECT_FALSE(ScreenShows(signature)) << "a new taskbar brought back an icon the program had removed";
}

// A shell still starting at sign-in refuses the first add: the next second's icon is added with its
// picture, callback and tip, and the seconds after it change that icon.
// A balloon for an icon a shell still starting refused: it is not shown (and so not remembered as
// shown) until the shell takes the icon, which the balloon adds again itself.
TEST(TrayIconInTheShell, ABalloonAddsTheIconTheShellRefusedAndSaysWhetherItWasShown) {
  OwnerWindow owner;
  ShellNotifyRecorder shell;
  ASSERT_TRUE(shell.Installed());
  shell.addsToRefuse = 2;
  CTrayIcon tray;
  tray.SetWindow(owner.handle);
  ASSERT_TRUE(tray.CreateFirstIcon());
  EXPECT_FALSE(tray.Add());
  EXPECT_FALSE(tray.ShowNotice("Quintrel: monthly allowance", "80 %")) << "the shell refused the icon again";
  EXPECT_TRUE(tray.ShowNotice("Quintrel: monthly allowance", "80 %"));
  ASSERT_FALSE(shell.calls.empty());
  const ShellNotifyRecorder::Call& shown = shell.calls.back();
  EXPECT_EQ(shown.message, DWORD(NIM_MODIFY));
  EXPECT_TRUE(shown.result);
  EXPECT_EQ(shown.info, "80 %");
  EXPECT_TRUE(tray.Delete());
  EXPECT_FALSE(tray.ShowNotice("Quintrel: monthly allowance", "100 %")) << "no icon after Delete";
}

TEST(TrayIconInTheShell, RefusedFirstAddIsMadeGoodByTheNextSecondsIcon) {
  OwnerWindow owner;
  ShellNotifyRecorder shell;
  ASSERT_TRUE(shell.Installed());
  shell.addsToRefuse = 1;
  CTrayIcon tray;
  tray.SetWindow(owner.handle);
  ASSERT_TRUE(tray.CreateFirstIcon());
  EXPECT_FALSE(tray.Add());

  DrawSignature(tray.Image());
  const Picture signature = SurfacePicture(tray.Image());
  const char* tips[] = {"1.00 KB/s received  2.00 KB/s sent", "3.00 KB/s received  4.00 KB/s sent",
                        "5.00 KB/s received  6.00 KB/s sent"};
  for (const char* tip : tips) EXPECT_TRUE(tray.Replace(tip)) << tip;
  ASSERT_TRUE(WaitFor([] { return WineTrayWindow() != nullptr && IsWindowVisible(WineTrayWindow()); }));
  BringTrayIntoView();
  EXPECT_TRUE(WaitFor([&] { return ScreenShows(signature); })) << "the icon never reached the tray";

  struct Expected {
    DWORD message;
    BOOL result;
    UINT flags;
    std::string tip;
  };
  const UINT all = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  const Expected expected[] = {
      {NIM_ADD, FALSE, NIF_MESSAGE | NIF_ICON, ""},  // refused by the shell
      {NIM_MODIFY, FALSE, all, tips[0]},             // no icon to change yet
      {NIM_ADD, TRUE, all, tips[0]},
      {NIM_MODIFY, TRUE, all, tips[1]},
      {NIM_MODIFY, TRUE, all, tips[2]},
  };
  ASSERT_GE(shell.calls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const ShellNotifyRecorder::Call& call = shell.calls[i];
    EXPECT_EQ(call.message, expected[i].message) << "call " << i;
    EXPECT_EQ(call.result, expected[i].result) << "call " << i;
    EXPECT_EQ(call.flags, expected[i].flags) << "call " << i;
    EXPECT_EQ(call.window, owner.handle) << "call " << i;
    EXPECT_EQ(call.tip, expected[i].tip) << "call " << i;
  }
  EXPECT_TRUE(tray.Delete());
  EXPECT_TRUE(WaitFor([&] { return !ScreenShows(signature); }));
}

// When the window's DPI changes, the icon is made again at the shell's new small-icon size and handed
// over at once with the tip it had; a size it has already, or one out of range, is kept or clamped.
TEST(TrayIconInTheShell, ResizedIconReachesTheShellAtItsNewSideWithTheSameTip) {
  OwnerWindow owner;
  ShellNotifyRecorder shell;
  ASSERT_TRUE(shell.Installed());
  CTrayIcon tray;
  tray.SetWindow(owner.handle);
  ASSERT_TRUE(tray.CreateFirstIcon(24));
  EXPECT_TRUE(tray.Resize(20));
  EXPECT_TRUE(shell.calls.empty()) << "an icon not in the tray is not handed over";
  ASSERT_TRUE(tray.Add());
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].iconSize.cx, 20);
  const char* tip = "1.00 KB/s received  2.00 KB/s sent";
  ASSERT_TRUE(tray.Replace(tip));

  const struct {
    int asked, side;
    bool handedOver;
  } steps[] = {{24, 24, true}, {24, 24, false}, {32, 32, true},  {18, 18, true},
               {10, 16, true}, {16, 16, false}, {100, 64, true}, {48, 48, true}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.asked);
    const size_t before = shell.calls.size();
    EXPECT_TRUE(tray.Resize(step.asked));
    EXPECT_EQ(tray.Image().width, step.side);
    EXPECT_EQ(tray.Image().height, step.side);
    ASSERT_EQ(shell.calls.size(), before + (step.handedOver ? 1 : 0));
    if (!step.handedOver) continue;
    const ShellNotifyRecorder::Call& call = shell.calls.back();
    EXPECT_EQ(call.message, DWORD(NIM_MODIFY));
    EXPECT_TRUE(call.result);
    EXPECT_EQ(call.icon, tray.Icon());
    EXPECT_EQ(call.iconSize.cx, step.side);
    EXPECT_EQ(call.iconSize.cy, step.side);
    EXPECT_EQ(call.tip, tip);
    EXPECT_EQ(IconPicture(call.icon, RGB(255, 0, 255), step.side),
              Picture(size_t(step.side * step.side), RGB(0, 0, 0)))
        << "black and opaque until the meter is drawn";
  }
  EXPECT_TRUE(tray.Delete());
}

// The window's redraw after a resize: the model draws the meter on the new surfaces and the shell
// gets it at the new side, not a black icon until the next second.
TEST(TrayIconInTheShell, TheModelRedrawsTheMeterOnTheResizedIconAtOnce) {
  OwnerWindow owner;
  ShellNotifyRecorder shell;
  ASSERT_TRUE(shell.Installed());
  struct : ITaskbarReadoutOwner {
    void OnReadoutClick() override {}
    void OnReadoutMenu(POINT) override {}
  } noReadout;
  CMeterPlatform platform(noReadout);
  platform.CreateGraphPanel(LayoutForDpi(kBaseDpi, 160, 100));  // each second paints it too
  platform.trayIcon.SetWindow(owner.handle);
  ASSERT_TRUE(platform.trayIcon.CreateFirstIcon());
  ASSERT_TRUE(platform.trayIcon.Add());
  StubCounters counters;
  StubLogSink logs;
  MemoryProfile profile;
  MonitorModel model(counters, logs, platform, profile);
  ASSERT_TRUE(model.CreateInterfaceStats(1));
  for (int second = 0; second < 3; ++second) {
    counters.AddTraffic(0, 3000, 9000);
    model.OnStatisticsTick();
  }
  const std::string tip = shell.LastTip(owner.handle);

  ASSERT_TRUE(platform.trayIcon.Resize(24));
  const size_t before = shell.calls.size();
  model.RedrawTrayIcon();
  ASSERT_EQ(shell.calls.size(), before + 1);
  const ShellNotifyRecorder::Call& call = shell.calls.back();
  EXPECT_EQ(call.icon, platform.trayIcon.Icon());
  EXPECT_EQ(call.iconSize.cx, 24);
  EXPECT_EQ(call.iconSize.cy, 24);
  EXPECT_EQ(call.tip, tip);

  MemorySurface expected(24, 24);
  DrawTrayPicture(TrayBarsOf(*model.SelectedFigures()), expected);
  const Picture meter = SurfacePicture(expected);
  EXPECT_NE(std::count(meter.begin(), meter.end(), RGB(0, 255, 0)), 0) << "the receive bar shows";
  EXPECT_EQ(IconPicture(call.icon, RGB(255, 0, 255), 24), meter);
  EXPECT_TRUE(platform.trayIcon.Delete());
}

// The meter as it must look, top-down: levels that fill the receive half, half the send half,
// a receive minute mark on row 3 and a send mark clamped to the top row (rows count from the bottom).
Picture ExpectedMeter() {
  const COLORREF green = RGB(0, 255, 0), red = RGB(255, 0, 0), yellow = RGB(255, 250, 0),
                 grid = RGB(0, 0, 210), black = RGB(0, 0, 0);
  Picture picture(kSide * kSide);
  for (int row = 0; row < kSide; ++row) {
    for (int x = 0; x < kSide; ++x) {
      COLORREF c = row % 4 == 0 ? grid : black;
      if (x < 8) c = row == 3 && x <= 4 ? yellow : green;
      if (x >= 8 && row <= 7) c = red;
      if (x >= 12 && row == 15) c = yellow;
      picture[(kSide - 1 - row) * kSide + x] = c;
    }
  }
  return picture;
}

// With QUINTREL_TRAY_SHOT_DIR set, a script photographs the screen while the icon is shown: the
// test says where the icon is and what it must hold, then waits until the photo is taken.
void WaitForScreenshot(POINT where, const Picture& expected) {
  const char* directory = getenv("QUINTREL_TRAY_SHOT_DIR");
  if (directory == nullptr || directory[0] == '\0') return;
  const std::string base = std::string(directory) + "\\";
  FILE* place = fopen((base + "icon_place.txt").c_str(), "wb");
  ASSERT_NE(place, nullptr);
  fprintf(place, "%ld %ld\n", where.x, where.y);
  fclose(place);
  FILE* rgb = fopen((base + "expected_icon.rgb").c_str(), "wb");
  ASSERT_NE(rgb, nullptr);
  for (COLORREF c : expected) {
    const uint8_t bytes[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    fwrite(bytes, 1, 3, rgb);
  }
  fclose(rgb);
  fclose(fopen((base + "ready").c_str(), "w"));
  for (int attempt = 0;
       attempt < 1200 && GetFileAttributesA((base + "taken").c_str()) == INVALID_FILE_ATTRIBUTES; ++attempt) {
    PumpMessages();
    Sleep(50);
  }
}

TEST(TrayMeterOnScreen, ShowsItsBarsGridAndMinuteMarksInTheShellsTray) {
  OwnerWindow owner;
  CTrayIcon tray;
  tray.SetWindow(owner.handle);
  ASSERT_TRUE(tray.CreateFirstIcon());
  ASSERT_TRUE(tray.Add());
  ASSERT_TRUE(WaitFor([] { return WineTrayWindow() != nullptr && IsWindowVisible(WineTrayWindow()); }));
  BringTrayIntoView();

  TrafficFigures figures;
  figures.trayScaleKb = 16;  // 1 kB a row
  figures.currentReceived = 20480;
  figures.currentSent = 7168;
  figures.avgReceivedMinute = 3 * 1024;
  figures.avgSentMinute = 40 * 1024;
  DrawTrayPicture(TrayBarsOf(figures), tray.Image());
  char tip[kTrayTipSize];
  FormatTrayTip(figures.currentReceived, figures.currentSent, tip);
  ASSERT_TRUE(tray.Replace(tip));
  EXPECT_STREQ(tray.Tip(), "20.00 KB/s received  7.00 KB/s sent");

  const Picture expected = ExpectedMeter();
  POINT where = {};
  EXPECT_TRUE(WaitFor([&] { return ScreenShows(expected, &where); })) << "the meter is not on the screen";
  WaitForScreenshot(where, expected);

  EXPECT_TRUE(tray.Delete());
  EXPECT_TRUE(WaitFor([&] { return !ScreenShows(expected); }));
}

}  // namespace
