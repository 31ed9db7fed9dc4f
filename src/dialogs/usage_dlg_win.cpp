// The Usage dialog: totals and charts read from the log when it opens, the allowance kept on OK.
#include "dialogs/usage_dlg_win.h"

#include <cstdio>
#include <cstdlib>

#include "fw/dpi_win.h"
#include "log/usage_allowance.h"
#include "render/byte_format.h"
#include "render/usage_chart.h"

namespace {

constexpr UINT kRedrawCharts = WM_APP + 1;

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void SetItemText(HWND dialog, int id, const char* text) {
  SetDlgItemTextA(dialog, id, text);
}

// A number typed into an edit, or the fallback when it holds none.
int32_t EditNumber(const CEdit& edit, int32_t fallback) {
  char text[16] = {};
  edit.GetText(text, sizeof text);
  char* end = nullptr;
  const long value = strtol(text, &end, 10);
  return end == text ? fallback : int32_t(value);
}

}  // namespace

CUsageDlg::CUsageDlg(IUsagePort& meter, HWND parent) : CDialog(IDD_USAGE, parent), meter(meter) {}

void CUsageDlg::DoDataExchange() {
  daysChart.Bind(hwnd(), IDC_USAGE_DAYS_CHART);
  monthsChart.Bind(hwnd(), IDC_USAGE_MONTHS_CHART);
  allowanceAmount.Bind(hwnd(), IDC_ALLOWANCE_AMOUNT);
  allowanceUnit.Bind(hwnd(), IDC_ALLOWANCE_UNIT);
  allowanceDay.Bind(hwnd(), IDC_ALLOWANCE_DAY);
}

BOOL CUsageDlg::OnInitDialog() {
  DoDataExchange();
  now = meter.Now();
  totals.Reset(CalendarDate{now.year, now.month, now.day});
  char logPath[512];
  meter.LogFileName(logPath, sizeof logPath);
  logRead = logPath[0] != '\0' && ReadUsageFile(logPath, totals);
  const char* description = meter.InterfaceDescription();
  char text[320];
  snprintf(text, sizeof text, "Interface: %s", description != nullptr ? description : "");
  SetItemText(hwnd(), IDC_USAGE_INTERFACE, text);
  ShowTotals();
  ShowCharts();
  ShowAllowance();
  return TRUE;
}

void CUsageDlg::ShowTotals() {
  const UsageAmount rows[] = {totals.Day(0), totals.Day(1), totals.Month(0), totals.Month(1)};
  int id = IDC_USAGE_CELL_FIRST;
  char count[48];
  for (const UsageAmount& row : rows) {
    SetItemText(hwnd(), id++, FormatByteCount(row.received, count, sizeof count, ""));
    SetItemText(hwnd(), id++, FormatByteCount(row.sent, count, sizeof count, ""));
    SetItemText(hwnd(), id++, FormatByteCount(row.Both(), count, sizeof count, ""));
  }
  char note[160];
  if (logRead)
    snprintf(note, sizeof note, "From the traffic log: %u minute lines, %u damaged lines skipped.",
             unsigned(totals.lines), unsigned(totals.skipped));
  else
    snprintf(note, sizeof note, "The traffic log cannot be read.");
  SetItemText(hwnd(), IDC_USAGE_LOG_NOTE, note);
}

void CUsageDlg::ShowCharts() {
  UsageAmount bars[kMaxUsageBars];
  char label[160], highest[48];
  const int days = DaysOfMonthBars(totals, bars);
  snprintf(label, sizeof label, "Days of %s %d (highest %s; received green, sent red)",
           kMonthNames[now.month - 1], now.year,
           FormatByteCount(HighestBar(bars, days), highest, sizeof highest, ""));
  SetItemText(hwnd(), IDC_USAGE_DAYS_LABEL, label);
  ShowChart(daysSurface, daysChart, bars, days);
  const int months = LastTwelveMonthsBars(totals, bars);
  snprintf(label, sizeof label, "The last 12 months, to %s %d (highest %s)", kMonthNames[now.month - 1],
           now.year, FormatByteCount(HighestBar(bars, months), highest, sizeof highest, ""));
  SetItemText(hwnd(), IDC_USAGE_MONTHS_LABEL, label);
  ShowChart(monthsSurface, monthsChart, bars, months);
}

void CUsageDlg::ShowChart(CDibSurface& surface, CStatic& picture, const UsageAmount* bars, int count) {
  RECT client = {};
  GetClientRect(picture.hwnd(), &client);
  if (!surface.Create(client.right - client.left, client.bottom - client.top, 24, nullptr)) return;
  DrawUsageBars(surface, bars, count);
  GdiFlush();
  InvalidateRect(picture.hwnd(), nullptr, FALSE);
}

// At another DPI the dialog manager lays the controls out again; the charts are then drawn anew at
// their controls' new sizes.
INT_PTR CUsageDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (message == WM_DPICHANGED) {
    PostMessageA(hwnd(), kRedrawCharts, 0, 0);
    return FALSE;
  }
  if (message == kRedrawCharts) {
    handled = true;
    ShowCharts();
    return TRUE;
  }
  if (message != WM_DRAWITEM || lParam == 0) return FALSE;
  handled = true;
  DrawChart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return TRUE;
}

void CUsageDlg::DrawChart(const DRAWITEMSTRUCT& item) {
  const CDibSurface& surface = item.hwndItem == daysChart.hwnd() ? daysSurface : monthsSurface;
  if (surface.Dc() == nullptr) return;
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, surface.width, surface.height, surface.Dc(), 0, 0,
         SRCCOPY);
}

void CUsageDlg::ShowAllowance() {
  const MonitorSettings& settings = meter.Settings();
  char text[200];
  snprintf(text, sizeof text, "%d", int(settings.allowanceAmount));
  allowanceAmount.SetText(text);
  allowanceUnit.AddString("MB");
  allowanceUnit.AddString("GB");
  allowanceUnit.SetCurSel(settings.allowanceInGigabytes != 0 ? 1 : 0);
  snprintf(text, sizeof text, "%d", int(settings.allowanceStartDay));
  allowanceDay.SetText(text);

  const CalendarDate start = PeriodStart(totals.Today(), settings.allowanceStartDay);
  const uint64_t used = totals.Since(start).Both();
  const uint64_t allowance = AllowanceBytes(settings.allowanceAmount, settings.allowanceInGigabytes != 0);
  char count[48];
  FormatByteCount(used, count, sizeof count, "");
  if (allowance == 0)
    snprintf(text, sizeof text, "Since %d.%d.%d: %s.", start.day, start.month, start.year, count);
  else
    snprintf(text, sizeof text, "Since %d.%d.%d: %s, %.0f %% of the allowance.", start.day, start.month,
             start.year, count, double(used) * 100.0 / double(allowance));
  SetItemText(hwnd(), IDC_ALLOWANCE_STATUS, text);
}

void CUsageDlg::OnOK() {
  meter.StoreAllowance(EditNumber(allowanceAmount, 0), allowanceUnit.GetCurSel() != 0,
                       EditNumber(allowanceDay, 1));
  CDialog::OnOK();
}

void RunUsageDialog(IUsagePort& meter, HWND parent) {
  CUsageDlg dialog(meter, parent);
  dialog.DoModal();
}
