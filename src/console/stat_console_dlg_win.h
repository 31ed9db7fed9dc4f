// The Statistics Console: per-hour bars of the hour-data file "NDIS3.bin".
#pragma once

#include <windows.h>

#include <cstdint>

#include "console/hour_data.h"
#include "fw/dialog_win.h"
#include "fw/gdi_win.h"
#include "fw/owned_handle_win.h"
#include "render/dib_surface_win.h"
#include "resource.h"

constexpr const char* kHourDataFileName = "NDIS3.bin";

class CStatConsoleDlg : public CDialog, private IHourDataSource, private IHourMessages {
 public:
  explicit CStatConsoleDlg(HWND parent = nullptr) : CDialog(IDD_STAT_CONSOLE, parent) {}

  int OpenHourFile(const char* fileName);
  int ReadHourRecord();
  int AnalyzeHourData(uint8_t dayValue);
  uint32_t LargestSum() const { return hours.LargestSum(); }
  void DrawHourBars();

  const uint32_t recordSize = kHourRecordSize;
  CWindowDC consoleDc;
  uint32_t barWidth = 0;
  uint32_t imageHeight = 0;
  uint32_t imageWidth = 0;
  float barScale = 0.0f;
  HourStatistics hours;  // the sums, the record count, the last record and its byte count
  COwnedFile file;
  CDibSurface consoleSurface;
  uint32_t fileSize = 0;
  bool imageDrawn = false;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnClicked(UINT id) override;
  BOOL OnPaint() override;
  void OnDestroy() override;

 private:
  uint32_t Read(uint8_t* buffer, uint32_t size) override;
  void ShowMessage(const char* text) override;
  // An image of a blank day, shown when the file cannot be opened.
  void DrawEmptyChart();
  bool CreateSurface();
  void CopyImageToWindow();
};
