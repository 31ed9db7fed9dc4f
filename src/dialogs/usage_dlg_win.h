// The Usage dialog: the watched interface's totals from its traffic log, two bar charts, and the
// monthly allowance.
#pragma once

#include <windows.h>

#include "app/monitor_model.h"
#include "fw/combo_box_win.h"
#include "fw/dialog_win.h"
#include "fw/edit_win.h"
#include "fw/static_win.h"
#include "log/usage_totals.h"
#include "render/dib_surface_win.h"
#include "resource.h"

class CUsageDlg : public CDialog {
 public:
  // The dialog reads the log at logPath as it is on disk when it opens, with today's date from now.
  CUsageDlg(MonitorSettings& settings, const char* description, const char* logPath, const LocalDateTime& now,
            HWND parent = nullptr);

  // Whether OK stored an allowance different from the one before.
  bool allowanceChanged = false;
  const UsageTotals& Totals() const { return totals; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange() override;
  void OnOK() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void ShowTotals();
  void ShowCharts();
  void ShowChart(CDibSurface& surface, CStatic& picture, const UsageAmount* bars, int count);
  void ShowAllowance();
  // The charts are owner-drawn statics: each copies its surface, made at the control's size.
  void DrawChart(const DRAWITEMSTRUCT& item);

  MonitorSettings& settings;
  const char* description;
  const char* logPath;
  LocalDateTime now;
  bool logRead = false;
  UsageTotals totals;
  CDibSurface daysSurface;
  CDibSurface monthsSurface;
  CStatic daysChart;
  CStatic monthsChart;
  CEdit allowanceAmount;
  CComboBox allowanceUnit;
  CEdit allowanceDay;
};

// The Usage command of the main window's menu: opens the dialog on the selected interface's log
// and stores the allowance when it is closed with OK. Returns whether the allowance changed.
bool RunUsageDialog(MonitorModel& model, const LocalDateTime& now, HWND parent = nullptr);
