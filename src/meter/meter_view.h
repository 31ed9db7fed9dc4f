// What the meter shows the user: messages, the graph panel, the tray icon with its tip and balloons,
// the readout on the taskbar, and the graph timer.
#pragma once

#include <cstdint>

class IPanelCanvas;
class PixelSurface;

class IMeterView {
 public:
  virtual ~IMeterView() = default;
  // A modal message box; returns when the user has answered it. Ticks go on meanwhile.
  virtual void ShowMessage(const char* text) = 0;
  // The graph surface's canvas; null when the panel could not be made.
  virtual IPanelCanvas* GraphCanvas() = 0;
  virtual PixelSurface& TrayImage() = 0;
  // Copies the graph surface to the window at the panel's place; false when it could not.
  virtual bool ShowGraphPanel() = 0;
  // Builds a new tray icon from the tray image and sets it with this tooltip; false when the shell
  // did not get it.
  virtual bool ReplaceTrayIcon(const char* tooltip) = 0;
  // A balloon over the tray icon; false when the shell did not take it.
  virtual bool ShowTrayNotice(const char* title, const char* text) = 0;
  // The readout on the taskbar: on or off, on every taskbar or the main one only.
  virtual void ShowTaskbarReadout(bool on, bool everyTaskbar) = 0;
  // The rates the readout shows, in bytes a second, and its tooltip.
  virtual void ShowReadoutRates(uint64_t received, uint64_t sent, const char* tip) = 0;
  // Starts the graph timer again with this period, if it runs.
  virtual void RestartGraphTimer(int32_t periodMs) = 0;
};
