// The scripted platform of the core tests.
#include "support/fake_platform.h"

#include <cstdio>
#include <new>

RecordingLogFile::RecordingLogFile(std::shared_ptr<RecordedLog> log, bool recordText)
    : log_(std::move(log)), recordText_(recordText) {}

bool RecordingLogFile::IsEmpty() {
  return log_->startsEmpty && log_->appendCount == 0;
}

void RecordingLogFile::Append(const char* text, size_t length) {
  ++log_->appendCount;
  if (recordText_) log_->text.append(text, length);
}

CountingCanvas::CountingCanvas() : pixels(160, 100) {}

FakePlatform::FakePlatform() {
  for (int row = 0; row < kRows; ++row) {
    descriptions[row] = "Fake Ethernet Adapter " + std::to_string(row);
    operStatus[row] = 1;
  }
}

void FakePlatform::Record(PlatformCall call) {
  if (callCount < kCallSlots) calls[callCount++] = call;
}

CounterPair FakePlatform::ReadCounters(int32_t row) {
  Record(PlatformCall::ReadCounters);
  lastCounterRow = row;
  return row >= 0 && row < kRows ? counters[row] : CounterPair{};
}

const char* FakePlatform::InterfaceDescription(int32_t row) {
  return row >= 0 && row < kRows ? descriptions[row].c_str() : "";
}

uint32_t FakePlatform::InterfaceOperStatus(int32_t row) {
  return row >= 0 && row < kRows ? operStatus[row] : 0;
}

std::unique_ptr<ILogFile> FakePlatform::OpenLogFile(const char* fileName) {
  Record(PlatformCall::OpenLogFile);
  openedNames.emplace_back(fileName);
  if (++openCount_ == badAllocOnOpen) throw std::bad_alloc();
  if (refuseLogFiles) return nullptr;
  std::shared_ptr<RecordedLog>& log = logs[fileName];
  if (!log) log = std::make_shared<RecordedLog>();
  return std::make_unique<RecordingLogFile>(log, recordLogText);
}

LocalDateTime FakePlatform::Now() {
  Record(PlatformCall::Now);
  return clock;
}

void FakePlatform::ShowMessage(const char* text) {
  Record(PlatformCall::ShowMessage);
  messages.emplace_back(text);
}

IPanelCanvas& FakePlatform::GraphCanvas() {
  Record(PlatformCall::GraphCanvas);
  return canvas;
}

PixelSurface& FakePlatform::TrayImage() {
  Record(PlatformCall::TrayImage);
  return trayImage;
}

void FakePlatform::ShowGraphPanel() {
  Record(PlatformCall::ShowGraphPanel);
  ++showGraphPanelCount;
}

void FakePlatform::ReplaceTrayIcon(const char* tooltip) {
  Record(PlatformCall::ReplaceTrayIcon);
  ++replaceTrayIconCount;
  snprintf(lastTooltip, sizeof lastTooltip, "%s", tooltip);
}

void FakePlatform::AddTraffic(int32_t row, uint32_t sent, uint32_t received) {
  counters[row].sent += sent;
  counters[row].received += received;
}

void FakePlatform::SeedLog(const std::string& fileName, const std::string& contents) {
  auto log = std::make_shared<RecordedLog>();
  log->startsEmpty = contents.empty();
  log->text = contents;
  logs[fileName] = log;
}

const RecordedLog* FakePlatform::Log(const std::string& fileName) const {
  auto found = logs.find(fileName);
  return found == logs.end() ? nullptr : found->second.get();
}
