#include "config_tool/app/c_fw_page.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/firmware_image.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "platform/sync/deadline.h"

namespace tarnwave {

using namespace kit::ui;

CFwPage::CFwPage(Host& host, MainWindowServices& services, kit::Clock& clock)
    : PropertyPage(host, Template()), m_services(services), m_worker(*this, clock) {}

CFwPage::~CFwPage() {
  // A worker waiting for its note to be answered goes on without it.
  m_closing = true;
  m_noteAnswered.set();
  m_worker.shutdown();
}

DialogTemplate CFwPage::Template() {
  DialogTemplate t;
  t.id = IDD_FW_PAGE;
  t.caption = "UpdateFw";
  t.width = 300;
  t.height = 214;
  t.flags = kChildWindow;
  t.controls = {
      GroupBox(kNoId, "Notes", {7, 4, 286, 86}),
      Label(kNoId, "1、The module connector must use physical serial port", {14, 16, 272, 10}),
      Label(kNoId,
            "2、The baud rate of the module serial port must be set at 115200bps 8 data bits, 1 start bit, 1 stop bit, "
            "no parity, no flow control",
            {14, 28, 272, 18}),
      Label(kNoId, "3、Never disconnect the serial cable or stop during the updating process, it may break the module",
            {14, 48, 272, 18}),
      Label(kNoId, "4、 Once the update complete, please powered off and re-power electricity and check the version",
            {14, 68, 272, 18}),
      Label(kNoId, "Please select the update file:", {7, 98, 200, 10}),
      EditBox(IDC_FW_PATH, {7, 110, 230, 13}),
      Button(IDC_FW_BROWSE, "Browse", {243, 109, 50, 14}),
      Label(kNoId, "Update Mode:", {7, 132, 80, 10}),
      RadioButton(IDC_FW_MODE_MAIN, "Update the main programme firmware", {20, 144, 200, 10}, kGroupStart),
      RadioButton(IDC_FW_MODE_LOAD, "Update the load programme firmware", {20, 157, 200, 10}),
      Control(IDC_FW_PROGRESS, ControlKind::ProgressBar, {7, 176, 286, 10}),
      Button(IDC_FW_START, "Start", {125, 194, 50, 14}),
  };
  return t;
}

const MessageMap* CFwPage::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CFwPage>()
                                    .on(EventKind::Click, IDC_FW_BROWSE, &CFwPage::OnBrowse)
                                    .on(EventKind::Click, IDC_FW_START, &CFwPage::OnStart)
                                    .onMessage(WM_FW_STOPPED, &CFwPage::OnStopped)
                                    .onMessage(WM_FW_STARTED, &CFwPage::OnStarted)
                                    .onMessage(WM_FW_BLOCK_SENT, &CFwPage::OnBlockSent)
                                    .onMessage(WM_FW_FINISHED, &CFwPage::OnFinished)
                                    .onMessage(WM_FW_FAILED, &CFwPage::OnFailed)
                                    .onMessage(WM_SHOW_NOTE, &CFwPage::OnWorkerNote)
                                    .build();
  return &map;
}

bool CFwPage::OnInitDialog() {
  setCheck(IDC_FW_MODE_MAIN, true);
  setCheck(IDC_FW_MODE_LOAD, false);
  enable(IDC_FW_MODE_LOAD, m_services.FirmwareDownloadFlag() != 0);
  setRange(IDC_FW_PROGRESS, 0, 0);
  return true;
}

bool CFwPage::OnSetActive() {
  // The update needs a serial line: over the dongle the previous page comes back.
  if (m_services.DongleLinkOpen() && !m_services.SerialLinkOpen() && parentWindow() != nullptr)
    parentWindow()->post(WM_SHOW_PAGE, 0, 0);
  return true;
}

bool CFwPage::OnKillActive() {
  if (!m_pageLocked) return true;
  if (parentWindow() != nullptr) parentWindow()->post(WM_SHOW_PAGE, 2, 0);
  return false;
}

ModuleLink* CFwPage::AskLink() {
  Dialog* parent = parentWindow();
  if (parent == nullptr) return nullptr;
  return reinterpret_cast<ModuleLink*>(parent->send(WM_GET_MODULE_LINK));
}

void CFwPage::SetProgressRange(std::uint64_t fileSize) {
  setRange(IDC_FW_PROGRESS, 0, static_cast<int>(std::min<std::uint64_t>(FirmwareBlockCount(fileSize), INT_MAX)));
  setPosition(IDC_FW_PROGRESS, 0);
}

void CFwPage::OnBrowse() {
  FileChooserRequest request;
  request.mode = ChooserMode::Open;
  request.filter = "FIRMWARE(*.IMG)|*.IMG||";
  request.defaultExtension = "img";
  request.mustExist = true;
  const std::optional<std::string> path = chooseFile(request);
  if (!path) return;
  setText(IDC_FW_PATH, *path);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(*path, error);
  SetProgressRange(error ? 0 : size);
}

void CFwPage::OnStart() {
  if (m_running) {
    (void)m_worker.requestStop();
    enable(IDC_FW_START, false);  // the worker's end report enables it again
    return;
  }
  const int mode = isChecked(IDC_FW_MODE_LOAD) ? 1 : 0;
  m_link = AskLink();
  if (m_link == nullptr) return;
  // Only a regular file is opened: a device or a pipe named here would block or never end.
  const std::string path = text(IDC_FW_PATH);
  std::error_code error;
  std::FILE* file = std::filesystem::is_regular_file(path, error) ? std::fopen(path.c_str(), "rb") : nullptr;
  if (file == nullptr) {
    CMess::Note(host(), this, "Can not open the file！");
    return;
  }
  m_image.reset(file);
  // The size is that of the file just opened, so a typed path is checked against itself.
  std::uint64_t size = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  }
  std::rewind(file);
  SetProgressRange(size);
  m_worker.start({m_link, file, size, mode});
  enable(IDC_FW_START, false);  // until the worker reports "update started"
}

std::intptr_t CFwPage::OnStarted(std::uintptr_t, std::intptr_t) {
  m_running = true;
  setPosition(IDC_FW_PROGRESS, 0);
  m_services.EnableCloseCommand(false);
  setText(IDC_FW_START, "Stop!");
  enable(IDC_FW_START, true);
  enable(IDC_FW_BROWSE, false);
  enable(IDC_FW_MODE_MAIN, false);
  enable(IDC_FW_MODE_LOAD, false);
  m_services.LockControls(true);
  m_pageLocked = true;
  return 0;
}

std::intptr_t CFwPage::OnBlockSent(std::uintptr_t, std::intptr_t) {
  setPosition(IDC_FW_PROGRESS, position(IDC_FW_PROGRESS) + 1);
  return 0;
}

void CFwPage::EndHandling() {
  m_running = false;
  m_image.reset();
  enable(IDC_FW_START, true);
  setText(IDC_FW_START, "Start!");
  m_services.EnableCloseCommand(true);
  enable(IDC_FW_BROWSE, true);
  enable(IDC_FW_MODE_MAIN, true);
  enable(IDC_FW_MODE_LOAD, m_services.FirmwareDownloadFlag() != 0);
  m_services.LockControls(false);
  m_pageLocked = false;
}

void CFwPage::LeaveUpdateMode() {
  int mode = 0;
  if (m_link != nullptr) (void)m_link->updateMode(CommandForm::Set, mode);
}

std::intptr_t CFwPage::OnStopped(std::uintptr_t, std::intptr_t) { return EndReport(WM_FW_STOPPED, 0, 0); }
std::intptr_t CFwPage::OnFinished(std::uintptr_t, std::intptr_t) { return EndReport(WM_FW_FINISHED, 0, 0); }
std::intptr_t CFwPage::OnFailed(std::uintptr_t block, std::intptr_t code) { return EndReport(WM_FW_FAILED, block, code); }

std::intptr_t CFwPage::EndReport(std::uint32_t message, std::uintptr_t block, std::intptr_t code) {
  EndHandling();
  CMess::Note(host(), this, FirmwareEndNote(message, block, code));
  setPosition(IDC_FW_PROGRESS, 0);
  if (FirmwareEndLeavesUpdateMode(message, block)) LeaveUpdateMode();
  return 0;
}

void CFwPage::report(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) { post(message, wParam, lParam); }

void CFwPage::note(std::string text) {
  {
    std::lock_guard lock(m_noteMutex);
    m_workerNote = std::move(text);
  }
  post(WM_SHOW_NOTE);
  if (!m_closing) (void)m_noteAnswered.wait(kit::kInfinite);
}

std::intptr_t CFwPage::OnWorkerNote(std::uintptr_t, std::intptr_t) {
  std::string text;
  {
    std::lock_guard lock(m_noteMutex);
    text = std::move(m_workerNote);
  }
  CMess::Note(host(), this, text);
  m_noteAnswered.set();
  return 0;
}

}  // namespace tarnwave
