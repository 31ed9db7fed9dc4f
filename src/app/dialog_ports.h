// The meter's model behind the ports that Configure and Usage talk to.
#pragma once

#include "dialogs/configure_port.h"
#include "dialogs/usage_port.h"
#include "log/log_sink.h"
#include "meter/monitor_model.h"

class ConfigurePort final : public IConfigurePort {
 public:
  explicit ConfigurePort(MonitorModel& model) : model(model) {}
  MonitorSettings& Settings() override { return model.settings; }
  uint32_t InterfaceCount() const override { return model.InterfaceCount(); }
  uint32_t ListInterfaces(bool showAll, int32_t* entries, uint32_t capacity) override {
    return model.ListInterfaces(showAll, entries, capacity);
  }
  int32_t ChosenEntry() const override { return model.ChosenEntry(); }
  const char* InterfaceDescription(int32_t entry) const override { return model.InterfaceDescription(entry); }
  const char* InterfaceAlias(int32_t entry) const override { return model.InterfaceAlias(entry); }
  int32_t PresetIndexOf(int32_t row) const override { return model.GetDeviceSpeedIndex(row); }
  void SelectInterface(int32_t entry) override { model.SelectInterface(entry); }
  void ApplyPreset() override { model.WriteDeviceSpeedIndex(); }
  void SetAutoScale(bool on) override { model.SetInterfaceAutoScale(on ? 1 : 0); }
  void SetGraphStyle(int32_t style) override { model.SetGraphStyle(style); }
  void SetRefreshPeriod(int32_t periodMs) override { model.SetRefreshPeriod(periodMs); }
  void SaveSettings() override { model.WriteConfigureSettings(); }

 private:
  MonitorModel& model;
};

class UsagePort final : public IUsagePort {
 public:
  UsagePort(MonitorModel& model, ILogSink& clock) : model(model), clock(clock) {}
  const char* InterfaceDescription() const override {
    return model.InterfaceDescription(model.settings.selectedInterface);
  }
  void LogFileName(char* out, size_t size) const override { model.SelectedLogFileName(out, size); }
  LocalDateTime Now() override { return clock.Now(); }
  const MonitorSettings& Settings() const override { return model.settings; }
  void StoreAllowance(int32_t amount, bool inGigabytes, int32_t startDay) override {
    model.StoreAllowance(amount, inGigabytes, startDay);
  }

 private:
  MonitorModel& model;
  ILogSink& clock;
};
