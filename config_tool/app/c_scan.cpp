#include "config_tool/app/c_scan.h"

#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
constexpr int kSteps = 10;
}

CScan::CScan(Host& host, Dialog* owner, std::chrono::milliseconds step) : Dialog(host, Template(), owner), m_step(step) {}

CScan::~CScan() { StopThread(); }

DialogTemplate CScan::Template() {
  DialogTemplate t;
  t.id = IDD_SCAN;
  t.width = 160;
  t.height = 24;
  t.flags = kNoCaption | kNoCloseBox;
  t.controls = {Control(IDC_SCAN_PROGRESS, ControlKind::ProgressBar, {8, 7, 144, 10})};
  return t;
}

const MessageMap* CScan::messageMap() const {
  static const MessageMap map = MessageMapBuilder<CScan>().onMessage(WM_SCAN_STEP, &CScan::OnStep).build();
  return &map;
}

bool CScan::OnInitDialog() {
  setRange(IDC_SCAN_PROGRESS, 0, kSteps);
  StopThread();
  m_stop.reset();
  m_thread = kit::Thread([this] {
    for (int value = 0; value <= kSteps; ++value) {
      if (m_stop.wait(m_step)) return;
      post(WM_SCAN_STEP, static_cast<std::uintptr_t>(value));
    }
    post(kMessageClose);
  });
  return true;
}

std::intptr_t CScan::OnStep(std::uintptr_t value, std::intptr_t) {
  setPosition(IDC_SCAN_PROGRESS, static_cast<int>(value));
  return 0;
}

void CScan::OnCancel() {
  StopThread();
  endDialog(kIdCancel);
}

void CScan::StopThread() {
  m_stop.set();
  m_thread.join();
}

}  // namespace tarnwave
