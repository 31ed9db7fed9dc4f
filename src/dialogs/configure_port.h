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
  // The interface list's entries in order into entries[0..capacity): rows of the table, and
  // kAllLinksRow and kMissingRow where offered; with showAll, rows that only repeat another too.
  // The number of entries.
  virtual uint32_t ListInterfaces(bool showAll, int32_t* entries, uint32_t capacity) = 0;
  // The entry the meter watches now, kMissingRow while the chosen interface is missing.
  virtual int32_t ChosenEntry() const = 0;
  // An entry's description ("All links" for kAllLinksRow, the missing interface's when known) and
  // its adapter's name beside it; "" when unknown.
  virtual const char* InterfaceDescription(int32_t entry) const = 0;
  virtual const char* InterfaceAlias(int32_t entry) const = 0;
  // The preset index stored for an interface (0..5).
  virtual int32_t PresetIndexOf(int32_t row) const = 0;
  // Watches another entry; one that is not in the list changes nothing.
  virtual void SelectInterface(int32_t entry) = 0;
  // The settings' preset applies to the watched interface and is stored for it.
  virtual void ApplyPreset() = 0;
  virtual void SetAutoScale(bool on) = 0;
  virtual void SetGraphStyle(int32_t style) = 0;
  virtual void SetRefreshPeriod(int32_t periodMs) = 0;
  // The dialog closed: its group of settings goes to the profile.
  virtual void SaveSettings() = 0;
};
