#pragma once
// CFwPage: the firmware page of the main window's page area (dialog 134 "UpdateFw").
//
// The user picks an image ("Browse" or a typed path), chooses the main or the load
// programme (the latter only with "Fw Down" in user.ini) and presses "Start"; the
// page's FirmwareWorker then updates the module through the main window's link while
// the page shows the progress per block. While an update runs the page keeps the focus
// of the page area, disables the main window's connection controls and close command,
// and "Stop!" asks the worker to stop after the current block. Over the radio dongle
// the page does not stay: it asks the main window to show the previous page again.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "config_tool/app/firmware_worker.h"
#include "config_tool/app/main_window_services.h"
#include "platform/ui/property_page.h"
#include "platform/sync/clock.h"
#include "platform/sync/event.h"

namespace tarnwave {

class ModuleLink;

class CFwPage : public kit::ui::PropertyPage, private FirmwareReports {
 public:
  CFwPage(kit::ui::Host& host, MainWindowServices& services, kit::Clock& clock = kit::SystemClock::instance());
  ~CFwPage() override;

  static kit::ui::DialogTemplate Template();

  // Set while an update runs: the page keeps the focus of the page area, and the
  // system information page leaves the link alone.
  bool PageLocked() const { return m_pageLocked; }

  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnKillActive() override;
  const kit::ui::MessageMap* messageMap() const override;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  void OnBrowse();
  void OnStart();
  std::intptr_t OnStopped(std::uintptr_t, std::intptr_t);
  std::intptr_t OnStarted(std::uintptr_t, std::intptr_t);
  std::intptr_t OnBlockSent(std::uintptr_t, std::intptr_t);
  std::intptr_t OnFinished(std::uintptr_t, std::intptr_t);
  std::intptr_t OnFailed(std::uintptr_t block, std::intptr_t code);
  std::intptr_t OnWorkerNote(std::uintptr_t, std::intptr_t);
  std::intptr_t EndReport(std::uint32_t message, std::uintptr_t block, std::intptr_t code);
  void EndHandling();
  void LeaveUpdateMode();
  void SetProgressRange(std::uint64_t fileSize);
  ModuleLink* AskLink();

  // FirmwareReports, on the worker thread. A note holds the worker until the user has
  // answered it, so it is read before the end report that follows it.
  void report(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void note(std::string text) override;

  MainWindowServices& m_services;
  std::mutex m_noteMutex;
  std::string m_workerNote;
  kit::Event m_noteAnswered{kit::EventReset::Auto};
  std::atomic<bool> m_closing{false};
  std::unique_ptr<std::FILE, FileCloser> m_image;
  ModuleLink* m_link = nullptr;
  bool m_running = false;
  bool m_pageLocked = false;
  FirmwareWorker m_worker;  // last: its thread may report until it is joined
};

}  // namespace tarnwave
