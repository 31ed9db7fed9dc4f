// What the Usage dialog reads of the running meter, and the allowance it stores there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/log_sink.h"
#include "settings/monitor_settings.h"

class IUsagePort {
 public:
  virtual ~IUsagePort() = default;
  // The watched interface and its traffic log's file name (empty when it has none).
  virtual const char* InterfaceDescription() const = 0;
  virtual void LogFileName(char* out, size_t size) const = 0;
  virtual LocalDateTime Now() = 0;
  // The allowance now: amount, unit and start day.
  virtual const MonitorSettings& Settings() const = 0;
  // Stores the allowance typed in; amounts and days out of range are brought into it.
  virtual void StoreAllowance(int32_t amount, bool inGigabytes, int32_t startDay) = 0;
};
