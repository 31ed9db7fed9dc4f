// What the Configure dialog may do to the running meter: every change applies at once.
#pragma once

#include <cstdint>

#include "settings/monitor_settings.h"

class IConfigurePort {
 public:
  virtual ~IConfigurePort() = default;
  // The live settings the dialog shows and edits: presets, tray scale, style, refresh period.
  virtual MonitorSettings& Settings() = 0;
  virtual uint32_t InterfaceCount() const = 0;
  virtual const char* InterfaceDescription(int32_t row) const = 0;
  // The preset index stored for an interface (0..5).
  virtual int32_t PresetIndexOf(int32_t row) const = 0;
  // Watches another interface; a row outside the table changes nothing.
  virtual void SelectInterface(int32_t row) = 0;
  // The settings' preset applies to the watched interface and is stored for it.
  virtual void ApplyPreset() = 0;
  virtual void SetAutoScale(bool on) = 0;
  virtual void SetGraphStyle(int32_t style) = 0;
  virtual void SetRefreshPeriod(int32_t periodMs) = 0;
  // The dialog closed: its group of settings goes to the profile.
  virtual void SaveSettings() = 0;
};
