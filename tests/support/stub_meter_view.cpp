// The test's record of what the meter shows.
#include "support/stub_meter_view.h"

#include <cstdio>

void StubMeterView::ShowMessage(const char* text) {
  messages.emplace_back(text);
  if (whileMessageOpen) whileMessageOpen(text);
}

bool StubMeterView::ShowGraphPanel() {
  ++showGraphPanelCount;
  return true;
}

bool StubMeterView::ReplaceTrayIcon(const char* tooltip) {
  ++replaceTrayIconCount;
  snprintf(lastTooltip, sizeof lastTooltip, "%s", tooltip);
  return shellTakesIcons;
}

void StubMeterView::ShowReadoutRates(uint64_t received, uint64_t sent, const char* tip) {
  ++readoutRatesCount;
  snprintf(lastReadoutRates, sizeof lastReadoutRates, "%llu/%llu %s", static_cast<unsigned long long>(received),
           static_cast<unsigned long long>(sent), tip);
}

bool StubMeterView::ShowTrayNotice(const char* title, const char* text) {
  if (shellTakesNotices) notices.push_back(std::string(title) + ": " + text);
  return shellTakesNotices;
}
