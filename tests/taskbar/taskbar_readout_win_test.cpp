// The taskbar readout under Wine: its picture in a real DIB section; no readout where the shell has no
// taskbar; and on the shell desktop's real taskbar (wine explorer /desktop=shell), its place, its
// window's kind, its colours following the theme, the mouse, a full-screen window, an auto-hiding
// taskbar and a restarted shell. With QUINTREL_TASKBAR_SHOT_DIR set, a script photographs the screen at
// each stage and checks the photo against what the test says is there.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/tray_icon_win.h"
#include "taskbar/readout_picture_win.h"
#include "taskbar/shell_reading_win.h"
#include "taskbar/taskbar_readout_win.h"

namespace {

constexpr uint32_t kDarkText = 0xFFFFFF, kDarkBackground = 0x202020;
constexpr uint32_t kLightText = 0x000000, kLightBackground = 0xEEEEEE;
constexpr char kTip[] = "20.00 KB/s received  7.00 KB/s sent";

template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

int CountPixels(const CReadoutPicture& picture, uint32_t pixel) {
  const ReadoutSize size = picture.Size();
  int count = 0;
  for (int i = 0; i < size.width * size.height; ++i) count += picture.Pixels()[i] == pixel ? 1 : 0;
  return count;
}

// GDI's text on the DIB section becomes the theme's colours: opaque, and all but transparent where the
// desktop composes, which Wine on a screen without a compositor does not.
TEST(ReadoutPicture, DrawsItsLinesInTheThemesColours) {
  CReadoutPicture picture;
  const ReadoutBox box = ReadoutBoxFor(TaskbarEdge::Bottom, 40, 96);
  ASSERT_TRUE(picture.SetTextHeight(box.textHeight));
  ReadoutLines lines, widest;
  FormatReadoutLines(20480, 7168, ReadoutForm::Captioned, lines);
  WidestReadoutLines(ReadoutForm::Captioned, widest);
  const int32_t widestWidth = picture.MeasureWidth(widest);
  EXPECT_GT(widestWidth, picture.MeasureWidth(lines));
  const ReadoutSize size = ReadoutSizeFor(box, TaskbarEdge::Bottom, 40, widestWidth);

  const struct {
    ReadoutColours colours;
    uint32_t backgroundPixel, textPixel;
  } cases[] = {
      {{kDarkText, kDarkBackground, 255}, 0xFF202020, 0xFFFFFFFF},
      {{kLightText, kLightBackground, 1}, 0x01010101, 0xFF000000},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(picture.Draw(lines, box, size, false, c.colours));
    EXPECT_GT(CountPixels(picture, c.backgroundPixel), size.width * size.height / 2) << "mostly background";
    EXPECT_GT(CountPixels(picture, c.textPixel), 20) << "strokes fully in the text's colour: crisp";
  }
}

class CountingOwner : public ITaskbarReadoutOwner {
 public:
  void OnReadoutClick() override { ++clicks; }
  void OnReadoutMenu(POINT point) override {
    ++menus;
    menuPoint = point;
  }
  int clicks = 0, menus = 0;
  POINT menuPoint = {};
};

// The shell's own taskbar along an edge of its monitor, as Wine's shell desktop has; null elsewhere.
HWND RealTaskbar() {
  FoundTaskbar found[kMaxTaskbars];
  if (FindTaskbars(found, false) == 0) return nullptr;
  TaskbarView view;
  if (!ReadTaskbarView(found[0].window, true, view) || !view.taskbarShown) return nullptr;
  return TaskbarEdgeOf(view.taskbar, view.monitor) != TaskbarEdge::None ? found[0].window : nullptr;
}

TEST(TaskbarReadout, StaysHiddenWhereTheShellHasNoTaskbar) {
  if (RealTaskbar() != nullptr) GTEST_SKIP() << "the shell has a taskbar here";
  CountingOwner owner;
  CTaskbarReadout readout(owner);
  readout.SetRates(20480, 7168);
  readout.Enable(true, true);
  PumpFor(1500);
  readout.SetTip(kTip);
  EXPECT_FALSE(readout.Visible());
  EXPECT_EQ(FindWindowA("QuintrelTaskbarReadout", nullptr), nullptr) << "no readout window was made";
  readout.Enable(false, false);
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// The right side of the Start button, the taskbar's first button, at its left. (Wine draws its
// notification icons in the taskbar itself, so where they begin shows only in a photo.)
LONG StartButtonRight(HWND taskbar) {
  for (HWND child = GetWindow(taskbar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    const RECT rect = WindowRect(child);
    if (IsWindowVisible(child) && lstrcmpiA(name, "Button") == 0 && rect.left <= WindowRect(taskbar).left)
      return rect.right;
  }
  return 0;
}

// A red icon in the notification area, so that the photo shows where the icons begin.
class RedTrayIcon {
 public:
  RedTrayIcon()
      : owner(CreateWindowA("Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {
    const int side = GetSystemMetrics(SM_CXSMICON);
    icon.SetWindow(owner);
    added = icon.CreateFirstIcon(side) && icon.Add();
    icon.Image().FillRectangle(0, 0, side, side, 0xFF0000);
    added = added && icon.Replace("");
  }
  ~RedTrayIcon() {
    icon.Delete();
    DestroyWindow(owner);
  }
  bool added = false;

 private:
  HWND owner;
  CTrayIcon icon;
};

void SetTaskbarTheme(DWORD light) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                      0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegSetValueExA(key, "SystemUsesLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light),
                 sizeof light);
  RegCloseKey(key);
}

// As Windows announces a change of theme: to every top-level window, in UTF-16.
void BroadcastThemeChange() {
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
}

// When a script photographs the stages: the readout's place and picture, the taskbar's parts and the
// colours it must show go to <stage>.txt and <stage>.rgb; the test then waits for the photo.
void Photograph(const char* stage, HWND taskbar, HWND window, const CReadoutPicture* picture, uint32_t text,
                uint32_t background) {
  const char* directory = getenv("QUINTREL_TASKBAR_SHOT_DIR");
  if (directory == nullptr || directory[0] == '\0' || picture == nullptr) return;
  const std::string base = std::string(directory) + "\\" + stage;
  const RECT readout = WindowRect(window), bar = WindowRect(taskbar);
  FILE* facts = fopen((base + ".txt").c_str(), "wb");
  ASSERT_NE(facts, nullptr);
  fprintf(facts, "readout %ld %ld %ld %ld\ntaskbar %ld %ld %ld %ld\nstart_right %ld\n", readout.left,
          readout.top, readout.right - readout.left, readout.bottom - readout.top, bar.left, bar.top,
          bar.right - bar.left, bar.bottom - bar.top, StartButtonRight(taskbar));
  fprintf(facts, "text %06X\nbackground %06X\n", text, background);
  fclose(facts);
  FILE* rgb = fopen((base + ".rgb").c_str(), "wb");
  ASSERT_NE(rgb, nullptr);
  const ReadoutSize size = picture->Size();
  for (int i = 0; i < size.width * size.height; ++i) {
    const uint32_t pixel = picture->Pixels()[i];  // opaque here: the colour as it is
    const unsigned char bytes[3] = {BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel)};
    fwrite(bytes, 1, 3, rgb);
  }
  fclose(rgb);
  fclose(fopen((base + ".ready").c_str(), "wb"));
  EXPECT_TRUE(PumpUntil(
      [&] { return GetFileAttributesA((base + ".taken").c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
      << "no photo of " << stage;
}

void ClickAt(POINT point, DWORD down, DWORD up) {
  SetCursorPos(point.x, point.y);
  PumpFor(100);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = down;
  inputs[1].mi.dwFlags = up;
  SendInput(2, inputs, sizeof(INPUT));
}

HWND ShownTooltip(HWND owner) {
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == owner &&
        IsWindowVisible(window))
      return window;
  }
  return nullptr;
}

class TaskbarReadoutOnShell : public testing::Test {
 protected:
  void SetUp() override {
    taskbar = RealTaskbar();
    if (taskbar == nullptr) GTEST_SKIP() << "needs a shell with a taskbar (wine explorer /desktop=shell,...)";
    home = WindowRect(taskbar);
  }
  void TearDown() override {
    if (taskbar) MoveTaskbar(home);
  }
  void MoveTaskbar(const RECT& rect) {
    SetWindowPos(taskbar, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND taskbar = nullptr;
  RECT home = {};
};

TEST_F(TaskbarReadoutOnShell, SitsOnTheTaskbarFollowsItsThemeAndGetsOutOfTheWay) {
  RedTrayIcon icon;
  ASSERT_TRUE(icon.added);
  PumpFor(500);
  SetTaskbarTheme(0);
  CountingOwner owner;
  CTaskbarReadout readout(owner);
  readout.SetRates(20480, 7168);
  readout.SetTip(kTip);
  readout.Enable(true, false);
  ASSERT_TRUE(readout.Visible());
  const HWND window = readout.ReadoutOn(taskbar);
  ASSERT_NE(window, nullptr);

  // A borderless, never active tool window owned by the taskbar, not its child, and no colour key.
  EXPECT_EQ(GetWindow(window, GW_OWNER), taskbar);
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
  const LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED),
            WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED);
  EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_TOPMOST), 0);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_FALSE(GetLayeredWindowAttributes(window, &key, &alpha, &flags) && (flags & LWA_COLORKEY));

  // On the taskbar, across its thickness, clear of Start, short of the taskbar's end.
  const RECT place = WindowRect(window), bar = WindowRect(taskbar);
  EXPECT_GE(place.top, bar.top);
  EXPECT_LE(place.bottom, bar.bottom);
  EXPECT_GT(place.bottom - place.top, (bar.bottom - bar.top) * 3 / 4);
  EXPECT_GT(place.left, StartButtonRight(taskbar));
  EXPECT_LT(place.right, bar.right - 4 * GetSystemMetrics(SM_CXSMICON));
  Photograph("dark", taskbar, window, readout.PictureOn(taskbar), kDarkText, kDarkBackground);

  SetTaskbarTheme(1);
  BroadcastThemeChange();
  EXPECT_GT(CountPixels(*readout.PictureOn(taskbar), 0xFF000000 | kLightBackground), 0) << "light at once";
  Photograph("light", taskbar, window, readout.PictureOn(taskbar), kLightText, kLightBackground);

  // The mouse: hovering shows the tray's tip, a click and a right click go to the owner; the readout
  // never takes the focus.
  const POINT centre = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
  SetCursorPos(centre.x, centre.y);
  PumpFor(100);
  SetCursorPos(centre.x + 1, centre.y);
  EXPECT_TRUE(PumpUntil([&] { return ShownTooltip(window) != nullptr; }, 4000)) << "no tooltip";
  if (HWND tip = ShownTooltip(window)) {
    char text[128] = "";
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, kTip);
  }
  const HWND front = GetForegroundWindow();
  ClickAt(centre, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return owner.clicks == 1; })) << "the click never came";
  ClickAt(centre, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_TRUE(PumpUntil([&] { return owner.menus == 1; })) << "the right click never came";
  EXPECT_EQ(owner.menuPoint.x, centre.x);
  EXPECT_EQ(owner.menuPoint.y, centre.y);
  EXPECT_EQ(GetForegroundWindow(), front);
  SetCursorPos(0, 0);

  // A full-screen window in front hides the readout; it comes back when the window goes.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HWND full = CreateWindowExA(0, "Static", "full screen", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(full);
  EXPECT_TRUE(PumpUntil([&] { return !readout.Visible() && !IsWindowVisible(window); }, 3000));
  DestroyWindow(full);
  EXPECT_TRUE(PumpUntil([&] { return readout.Visible() && IsWindowVisible(window); }, 3000));

  // An auto-hidden taskbar, slid off the screen but for two pixels, hides it too.
  MoveTaskbar({home.left, home.bottom - 2, home.right, home.bottom - 2 + (home.bottom - home.top)});
  EXPECT_TRUE(PumpUntil([&] { return !readout.Visible(); }, 3000));
  MoveTaskbar(home);
  EXPECT_TRUE(PumpUntil([&] { return readout.Visible(); }, 3000));

  // A restarted shell announces its taskbar: placed again at once on the taskbar as it now is.
  const RECT tall = {home.left, home.bottom - 2 * (home.bottom - home.top), home.right, home.bottom};
  MoveTaskbar(tall);
  SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  const RECT placed = WindowRect(readout.ReadoutOn(taskbar));
  EXPECT_GE(placed.top, tall.top);
  EXPECT_LE(placed.bottom, tall.bottom);
  EXPECT_GT(placed.bottom - placed.top, place.bottom - place.top) << "two lines in the taller taskbar";
  Photograph("tall", taskbar, readout.ReadoutOn(taskbar), readout.PictureOn(taskbar), kLightText,
             kLightBackground);
  readout.Enable(false, false);
  EXPECT_FALSE(readout.Visible());
  EXPECT_FALSE(IsWindow(window));
  SetTaskbarTheme(0);
}

}  // namespace
