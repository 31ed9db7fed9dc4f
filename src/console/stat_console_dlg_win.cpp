// The Statistics Console: reads the hour records, sums them per hour and shows the bars.
#include "console/stat_console_dlg_win.h"

#include "fw/message_box_win.h"
#include "render/hour_chart.h"

namespace {
constexpr int kImageLeft = 20;
constexpr int kImageTop = 20;
}  // namespace

BOOL CStatConsoleDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  imageWidth = kHourImageWidth;
  imageHeight = kHourImageHeight;
  barWidth = imageWidth / 48 - 4;
  if (!OpenHourFile(kHourDataFileName)) {
    // Nothing was read: the chart of a day without traffic.
    DrawEmptyChart();
    return TRUE;
  }
  const bool analysed = AnalyzeHourData(kConsoleDayValue) != 0;
  file.Reset();
  if (!analysed) {
    ShowMessage("Internal Error, while analyzing hour data");
    return FALSE;
  }
  if (!CreateSurface()) return FALSE;
  DrawHourBars();
  return TRUE;
}

int CStatConsoleDlg::OpenHourFile(const char* fileName) {
  file.Reset(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    ShowMessage("File error!");
    return 0;
  }
  // A file of 4 GB or more is read as far as a 32-bit size reaches.
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size)) size.QuadPart = 0;
  fileSize = size.QuadPart > LONGLONG(UINT32_MAX) ? UINT32_MAX : uint32_t(size.QuadPart);
  hours.SetFileSize(fileSize);
  hours.bytesRead = 0;
  return 1;
}

uint32_t CStatConsoleDlg::Read(uint8_t* buffer, uint32_t size) {
  DWORD delivered = 0;
  if (!ReadFile(file.get(), buffer, size, &delivered, nullptr)) return 0;
  return delivered;
}

void CStatConsoleDlg::ShowMessage(const char* text) {
  ShowAppMessage(hwnd(), text);
}

int CStatConsoleDlg::ReadHourRecord() {
  return hours.ReadHourRecord(*this, *this) ? 1 : 0;
}

int CStatConsoleDlg::AnalyzeHourData(uint8_t dayValue) {
  return hours.AnalyzeHourData(dayValue, *this, *this) ? 1 : 0;
}

bool CStatConsoleDlg::CreateSurface() {
  if (consoleSurface.Create(int32_t(imageWidth), int32_t(imageHeight), 24, nullptr)) return true;
  ShowMessage("Internal Error, while creating bitmap");
  return false;
}

void CStatConsoleDlg::DrawEmptyChart() {
  if (!CreateSurface()) return;
  hours = HourStatistics{};
  DrawHourBars();
}

void CStatConsoleDlg::DrawHourBars() {
  consoleSurface.Clear(true);
  GdiFlush();  // the white fill must land before the pixels are written directly
  barScale = HourBarScale(hours.LargestSum());
  ::DrawHourBars(hours.firstSums, hours.secondSums, consoleSurface);
  imageDrawn = true;
  if (!consoleDc) consoleDc.Reset(hwnd());
  CopyImageToWindow();
}

void CStatConsoleDlg::CopyImageToWindow() {
  if (imageDrawn && consoleDc) consoleSurface.BlitTo(consoleDc.get(), kImageLeft, kImageTop);
}

BOOL CStatConsoleDlg::OnClicked(UINT id) {
  if (id != IDC_CONSOLE_BUTTON) return FALSE;
  CopyImageToWindow();
  return TRUE;
}

// The image is copied again after every repaint, so it does not vanish when the window is covered.
BOOL CStatConsoleDlg::OnPaint() {
  if (!imageDrawn) return FALSE;
  CPaintDC paint(hwnd());
  consoleSurface.BlitTo(paint.get(), kImageLeft, kImageTop);
  return TRUE;
}

void CStatConsoleDlg::OnDestroy() {
  consoleSurface.Release();
  imageDrawn = false;
  consoleDc.Release();
}
