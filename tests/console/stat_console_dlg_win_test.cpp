// The Statistics Console under Wine, reading an hour-data file written by the test.
#include "console/stat_console_dlg_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/configure_dlg_win.h"
#include "support/modal_driver_win.h"
#include "support/test_meter.h"
#include "fw/app_win.h"
#include "resource.h"

namespace {

constexpr const char* kConsoleCaption = "Statistics Console";

void AppendRecord(std::vector<uint8_t>& out, uint8_t day, uint8_t hour, uint32_t first, uint32_t second) {
  const uint8_t head[8] = {0, 0, day, 0, hour, 0, 0, 0};
  out.insert(out.end(), head, head + 8);
  for (uint32_t v : {first, second})
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// Colour 0xRRGGBB of the image at a column and a top-down row, from the surface's own bytes.
uint32_t SurfaceColour(const CDibSurface& s, int x, int topDownRow) {
  const uint8_t* p = s.bits + (s.height - 1 - topDownRow) * s.RowBytes() + x * 3;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

uint32_t WindowColour(HWND dialog, int x, int y) {
  HDC dc = GetDC(dialog);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(dialog, dc);
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

bool SurfaceIsWhite(const CDibSurface& s) {
  for (size_t i = 0; i < s.ByteCount(); ++i)
    if (s.bits[i] != 0xFF) return false;
  return true;
}

// Each test runs in a directory of its own, where "NDIS3.bin" is whatever the test writes.
class StatisticsConsole : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitControlClasses(); }
  void SetUp() override {
    GetCurrentDirectoryA(sizeof previous, previous);
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    snprintf(directory, sizeof directory, "%squintrel-console-%lu", temp, GetCurrentProcessId());
    CreateDirectoryA(directory, nullptr);
    SetCurrentDirectoryA(directory);
  }
  void TearDown() override {
    DeleteFileA(kHourDataFileName);
    SetCurrentDirectoryA(previous);
    RemoveDirectoryA(directory);
  }
  void WriteHourFile(const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(kHourDataFileName, "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }

  char previous[MAX_PATH] = {};
  char directory[MAX_PATH] = {};
};

TEST_F(StatisticsConsole, DrawsTheHourlyBarsOfTheDayFromTheFileAndCopiesThemOnButton1) {
  std::vector<uint8_t> file;
  AppendRecord(file, 27, 0, 2000, 600);
  AppendRecord(file, 27, 0, 1200, 400);  // hour 0 adds up to 3200 and 1000
  AppendRecord(file, 26, 1, 99999, 99999);
  AppendRecord(file, 27, 30, 99999, 99999);
  AppendRecord(file, 27, 23, 0, 3200);
  file.push_back(0x7F);
  WriteHourFile(file);

  CStatConsoleDlg console;
  ModalDriver driver;
  driver.On(kConsoleCaption, [&](HWND d) {
    EXPECT_EQ(console.fileSize, 81u);
    EXPECT_EQ(console.hours.recordCount, 5u);
    EXPECT_EQ(console.hours.firstSums[0], 3200u);
    EXPECT_EQ(console.hours.secondSums[0], 1000u);
    EXPECT_EQ(console.hours.firstSums[1], 0u);
    EXPECT_EQ(console.LargestSum(), 3200u);
    EXPECT_FLOAT_EQ(console.barScale, 12.5f);
    EXPECT_EQ(console.barWidth, 6u);
    ASSERT_NE(console.consoleSurface.bits, nullptr);
    const CDibSurface& image = console.consoleSurface;
    EXPECT_EQ(SurfaceColour(image, 0, 49), 0xFF0000u);
    EXPECT_EQ(SurfaceColour(image, 5, 304), 0xFF0000u);
    EXPECT_EQ(SurfaceColour(image, 0, 48), 0xFFFFFFu);
    EXPECT_EQ(SurfaceColour(image, 0, 305), 0xFFFFFFu);
    EXPECT_EQ(SurfaceColour(image, 6, 225), 0x00FF00u);
    EXPECT_EQ(SurfaceColour(image, 11, 224), 0xFFFFFFu);
    EXPECT_EQ(SurfaceColour(image, 12, 300), 0xFFFFFFu);
    EXPECT_EQ(SurfaceColour(image, 466, 49), 0x00FF00u);
    EXPECT_EQ(SurfaceColour(image, 460, 300), 0xFFFFFFu);
    EXPECT_EQ(SurfaceColour(image, 472, 300), 0xFFFFFFu);

    // The window shows the image at (20, 20) after a repaint, and again after "Button1".
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(WindowColour(d, 20 + 2, 20 + 100), 0xFF0000u);
    HDC dc = GetDC(d);
    PatBlt(dc, 0, 0, 600, 400, BLACKNESS);
    ReleaseDC(d, dc);
    EXPECT_EQ(WindowColour(d, 20 + 2, 20 + 100), 0u);
    SendDlgItemMessageA(d, IDC_CONSOLE_BUTTON, BM_CLICK, 0, 0);
    EXPECT_EQ(WindowColour(d, 20 + 2, 20 + 100), 0xFF0000u);
    EXPECT_EQ(WindowColour(d, 20 + 8, 20 + 250), 0x00FF00u);
    EXPECT_EQ(WindowColour(d, 20 + 14, 20 + 100), 0xFFFFFFu);
    EXPECT_EQ(WindowColour(d, 20 + 8, 20 + 100), 0xFFFFFFu);
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  driver.Run([&] { console.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_EQ(console.consoleSurface.Bitmap(), nullptr);  // released with the window
  EXPECT_FALSE(console.consoleDc);
  EXPECT_TRUE(DeleteFileA(kHourDataFileName)) << "the file was left open";
}

TEST_F(StatisticsConsole, AMissingFileIsReportedAndTheChartStaysWhite) {
  CStatConsoleDlg console;
  ModalDriver driver;
  driver.AnswerMessageBox();
  driver.On(kConsoleCaption, [&](HWND d) {
    ASSERT_NE(console.consoleSurface.bits, nullptr);
    EXPECT_TRUE(SurfaceIsWhite(console.consoleSurface));
    EXPECT_EQ(console.LargestSum(), 0u);
    EXPECT_EQ(WindowColour(d, 20 + 3, 20 + 300), 0xFFFFFFu);
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  driver.Run([&] { console.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_EQ(driver.messages, std::vector<std::string>{"File error!"});
}

TEST_F(StatisticsConsole, AnEmptyFileGivesAWhiteChartWithoutMessages) {
  WriteHourFile({});
  CStatConsoleDlg console;
  ModalDriver driver;
  driver.On(kConsoleCaption, [&](HWND d) {
    EXPECT_TRUE(SurfaceIsWhite(console.consoleSurface));
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  driver.Run([&] { console.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_TRUE(driver.messages.empty());
}

// The console on a file that ends while it is read: its bytes stop at `holds`, as when the file
// was cut short after its size was taken. Under Wine no file of ours can do that by itself (a
// reader's sharing keeps writers out), so the read stops there; the bytes read are the file's own.
class CutShortConsole : public CStatConsoleDlg {
 public:
  explicit CutShortConsole(uint32_t holds) : holds(holds) {}

 private:
  uint32_t Read(uint8_t* buffer, uint32_t size) override {
    DWORD delivered = 0;
    if (!ReadFile(file.get(), buffer, std::min(size, holds - consumed), &delivered, nullptr)) return 0;
    consumed += delivered;
    return delivered;
  }

  uint32_t holds;
  uint32_t consumed = 0;
};

TEST_F(StatisticsConsole, AFileThatEndsBeforeItsLastRecordIsReportedAndShowsNoImage) {
  std::vector<uint8_t> file;
  for (uint8_t hour : {1, 2, 3}) AppendRecord(file, 27, hour, 5000, 5000);
  WriteHourFile(file);  // three records promised

  CutShortConsole console(20);  // the second record delivers 4 bytes
  ModalDriver driver;
  driver.AnswerMessageBox().AnswerMessageBox().AnswerMessageBox();
  driver.On(kConsoleCaption, [&](HWND d) {
    EXPECT_EQ(console.hours.recordCount, 3u);
    EXPECT_EQ(console.hours.bytesRead, 4u);
    EXPECT_EQ(console.consoleSurface.bits, nullptr);
    EXPECT_FALSE(console.imageDrawn);
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_NE(WindowColour(d, 20 + 2, 20 + 300), 0xFFFFFFu) << "a chart shows after a repaint";
    // "Button1" has nothing to copy: what the window showed stays.
    HDC dc = GetDC(d);
    PatBlt(dc, 0, 0, 600, 400, BLACKNESS);
    ReleaseDC(d, dc);
    SendDlgItemMessageA(d, IDC_CONSOLE_BUTTON, BM_CLICK, 0, 0);
    for (int x : {20 + 2, 20 + 30, 20 + 470})
      for (int y : {20 + 10, 20 + 300}) EXPECT_EQ(WindowColour(d, x, y), 0u) << x << ", " << y;
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  driver.Run([&] { console.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_EQ(driver.messages, (std::vector<std::string>{"4", "this error should never happen!",
                                                       "Internal Error, while analyzing hour data"}));
  EXPECT_TRUE(DeleteFileA(kHourDataFileName)) << "the file was left open";
}

TEST_F(StatisticsConsole, OpensFromTheConfigureDialogsHiddenStatisticsButton) {
  StartedMeter meter(1);
  ModalDriver driver;
  driver.On("Configure", [](HWND d) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_STATISTICS_BUTTON)));
    PostClick(d, IDC_STATISTICS_BUTTON);
  });
  driver.AnswerMessageBox();
  driver.On(kConsoleCaption, [](HWND d) {
    EXPECT_EQ(GetParent(d), nullptr);
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  driver.On("Configure", [](HWND d) { PostClick(d, IDOK); });
  driver.Run([&] { RunConfigure(meter.configure, nullptr); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_EQ(driver.messages, std::vector<std::string>{"File error!"});
}

}  // namespace
