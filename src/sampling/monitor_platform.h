// What the portable core asks of the platform: counters, the log file, time, messages and output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct CounterPair {
  uint32_t sent;      // dwOutOctets
  uint32_t received;  // dwInOctets
  // Changes when the counters may have started again (the interface went away and came back, or
  // its link went down or up): a new baseline is taken instead of a difference.
  uint32_t epoch = 0;
};

struct LocalDateTime {
  int year, month, day, dayOfWeek, hour, minute, second;
};

// An open traffic log positioned at its end.
class ILogFile {
 public:
  virtual ~ILogFile() = default;
  virtual bool IsEmpty() = 0;
  virtual void Append(const char* text, size_t length) = 0;
};

class IPanelCanvas;
class PixelSurface;

class IMonitorPlatform {
 public:
  virtual ~IMonitorPlatform() = default;

  // The octet counters of interface row `row`; a failed read repeats the previous reading.
  virtual CounterPair ReadCounters(int32_t row) = 0;
  virtual const char* InterfaceDescription(int32_t row) = 0;
  virtual uint32_t InterfaceOperStatus(int32_t row) = 0;

  // Opens or creates the file for appending; null when it cannot be opened.
  virtual std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) = 0;
  // Longest file name that can still be created in the current directory.
  virtual size_t MaxLogFileNameLength() = 0;
  virtual LocalDateTime Now() = 0;
  virtual void ShowMessage(const char* text) = 0;

  virtual IPanelCanvas& GraphCanvas() = 0;
  virtual PixelSurface& TrayImage() = 0;
  // Copies the graph surface to the window at (9, 10).
  virtual void ShowGraphPanel() = 0;
  // Builds a new tray icon from the tray image and sets it with this tooltip.
  virtual void ReplaceTrayIcon(const char* tooltip) = 0;
};
