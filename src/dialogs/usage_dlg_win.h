// The Usage dialog: the watched interface's totals from its traffic log, two bar charts, and the
// monthly allowance.
#pragma once

#include <windows.h>

#include "dialogs/usage_port.h"
#include "fw/combo_box_win.h"
#include "fw/dialog_win.h"
#include "fw/edit_win.h"
#include "fw/static_win.h"
#include "log/usage_totals.h"
#include "render/dib_surface_win.h"
#include "resource.h"

class CUsageDlg : public CDialog {
 public:
  // The dialog reads the watched interface's log as it is on disk when it opens, with today's date
  // from the port's clock.
  explicit CUsageDlg(IUsagePort& meter, HWND parent = nullptr);

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

  IUsagePort& meter;
  LocalDateTime now = {};
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

// The Usage command of the main window's menu: opens the dialog on the watched interface's log; OK
// stores the allowance.
void RunUsageDialog(IUsagePort& meter, HWND parent = nullptr);
