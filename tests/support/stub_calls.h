// The order in which the model calls on its ports, shared by the stubs of one test.
#pragma once

enum class StubCall {
  ReadCounters,
  OpenLogFile,
  Now,
  ShowMessage,
  GraphCanvas,
  TrayImage,
  ShowGraphPanel,
  ReplaceTrayIcon,
  RestartGraphTimer
};

// A fixed array, so recording calls never allocates.
struct StubCallLog {
  static constexpr int kSlots = 64;
  StubCall calls[kSlots] = {};
  int count = 0;

  void Record(StubCall call) {
    if (count < kSlots) calls[count++] = call;
  }
  void Clear() { count = 0; }
};
