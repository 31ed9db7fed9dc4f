// A scripted stand-in for the platform: counters set by the test, log files, clock, messages and
// output recorded in memory. Core-only, so both the native and the Windows tests can use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/panel_canvas.h"
#include "render/pixel_surface.h"
#include "sampling/monitor_platform.h"

// Everything appended to one log file; shared by the platform and the file it handed out.
struct RecordedLog {
  bool startsEmpty = true;
  int appendCount = 0;
  std::string text;  // only while the platform records text
};

class RecordingLogFile : public ILogFile {
 public:
  RecordingLogFile(std::shared_ptr<RecordedLog> log, bool recordText);
  bool IsEmpty() override;
  void Append(const char* text, size_t length) override;

 private:
  std::shared_ptr<RecordedLog> log_;
  bool recordText_;
};

// Counts the painter's drawing calls and draws nothing; the pixels are a real 160 x 100 surface.
class CountingCanvas : public IPanelCanvas {
 public:
  CountingCanvas();
  PixelSurface& Pixels() override { return pixels; }
  void ClearBlack() override { ++clears; }
  void SelectPen(PanelPen) override { ++penSelections; }
  void MoveTo(int32_t, int32_t) override { ++moves; }
  void LineTo(int32_t, int32_t) override { ++lines; }
  void DrawText(int32_t, int32_t, const char*, int32_t) override { ++texts; }

  MemorySurface pixels;
  int clears = 0, penSelections = 0, moves = 0, lines = 0, texts = 0;
};

enum class PlatformCall {
  ReadCounters,
  OpenLogFile,
  Now,
  ShowMessage,
  GraphCanvas,
  TrayImage,
  ShowGraphPanel,
  ReplaceTrayIcon
};

class FakePlatform : public IMonitorPlatform {
 public:
  static constexpr int kRows = 10;
  static constexpr int kCallSlots = 64;

  FakePlatform();

  CounterPair ReadCounters(int32_t row) override;
  const char* InterfaceDescription(int32_t row) override;
  uint32_t InterfaceOperStatus(int32_t row) override;
  std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) override;
  size_t MaxLogFileNameLength() override { return maxLogFileNameLength; }
  LocalDateTime Now() override;
  void ShowMessage(const char* text) override;
  IPanelCanvas& GraphCanvas() override;
  PixelSurface& TrayImage() override;
  void ShowGraphPanel() override;
  void ReplaceTrayIcon(const char* tooltip) override;

  // Moves row's counters on by the given bytes, wrapping as the real 32-bit counters do.
  void AddTraffic(int32_t row, uint32_t sent, uint32_t received);
  // A file that already holds an earlier run's lines.
  void SeedLog(const std::string& fileName, const std::string& contents);
  const RecordedLog* Log(const std::string& fileName) const;
  void ClearCalls() { callCount = 0; }

  CounterPair counters[kRows] = {};
  std::string descriptions[kRows];
  uint32_t operStatus[kRows] = {};
  int32_t lastCounterRow = -1;

  std::map<std::string, std::shared_ptr<RecordedLog>> logs;
  std::vector<std::string> openedNames;
  bool refuseLogFiles = false;
  int badAllocOnOpen = 0;  // the nth OpenLogFile (from 1) throws std::bad_alloc; 0: never
  bool recordLogText = true;
  size_t maxLogFileNameLength = 259;
  LocalDateTime clock = {2003, 5, 14, 3, 10, 20, 30};
  std::vector<std::string> messages;

  CountingCanvas canvas;
  MemorySurface trayImage{16, 16};
  int showGraphPanelCount = 0;
  int replaceTrayIconCount = 0;
  char lastTooltip[64] = {};

  // The calls in order; a fixed array, so recording them never allocates.
  PlatformCall calls[kCallSlots] = {};
  int callCount = 0;

 private:
  void Record(PlatformCall call);
  int openCount_ = 0;
};
