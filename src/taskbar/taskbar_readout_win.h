// The live readout on the taskbar: one readout window on the primary taskbar, and on each secondary
// one when asked, following the shell's own signals and a look at the shell once a second at most.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fw/custom_window_win.h"
#include "fw/owned_handle_win.h"
#include "taskbar/readout_window_win.h"
#include "taskbar/shell_reading_win.h"

struct WinEventUnhook {
  void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
};
using COwnedWinEventHook = COwnedHandle<HWINEVENTHOOK, WinEventUnhook>;

class CTaskbarReadout {
 public:
  explicit CTaskbarReadout(ITaskbarReadoutOwner& owner);
  ~CTaskbarReadout();
  CTaskbarReadout(const CTaskbarReadout&) = delete;
  CTaskbarReadout& operator=(const CTaskbarReadout&) = delete;

  // On: a readout on the primary taskbar, and with everyTaskbar on each secondary one. Where the shell
  // has no taskbar the readout stays hidden and nothing else changes. Off: every readout window goes.
  void Enable(bool on, bool everyTaskbar);
  // The rates in bytes a second; a readout is painted again only when its lines change.
  void SetRates(uint64_t received, uint64_t sent);
  // The tooltip's text, as the tray icon's.
  void SetTip(const char* text);
  // Whether a readout is on the screen.
  bool Visible() const;
  // The readout's window on that taskbar, or null; and the picture it shows there.
  HWND ReadoutOn(HWND taskbar) const;
  const CReadoutPicture* PictureOn(HWND taskbar) const;

 private:
  // A hidden top-level window for the broadcasts the readouts' own windows may miss: they are made
  // only where a readout shows, and go with their taskbar when the shell ends.
  class CListener : public CCustomWindow {
   public:
    explicit CListener(CTaskbarReadout& readout) : readout(readout) {}
    ~CListener() override { Destroy(); }

   protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    CTaskbarReadout& readout;
  };

  bool OnListenerMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnSettingChange(WPARAM parameter, LPARAM area);
  // Finds the taskbars again, reads them and shows every readout.
  void Refresh();
  void MatchTaskbars();
  void ReadShell();
  void ReadColours();
  void ShowAll();
  void WatchShell(DWORD shellProcess);
  void RequestCheck();
  bool IsTaskbar(HWND window) const;
  static void CALLBACK OnShellEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                    DWORD thread, DWORD time);

  ITaskbarReadoutOwner& owner;
  bool enabled = false, everyTaskbar = false;
  CListener listener{*this};
  CReadoutWindow readouts[kMaxTaskbars];
  ReadoutContent content;
  UINT taskbarCreatedMessage = 0;
  COwnedWinEventHook foregroundHook, moveHook;
  DWORD watchedProcess = 0;
  bool checkPosted = false;
};
