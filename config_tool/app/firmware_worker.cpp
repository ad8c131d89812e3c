#include "config_tool/app/firmware_worker.h"

#include <array>
#include <chrono>
#include <string_view>

#include "config_tool/app/firmware_image.h"
#include "config_tool/app/resource.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/sync/wait_any.h"

namespace tarnwave {

using namespace std::chrono_literals;

namespace {
constexpr int kLoadProgramme = 2;
constexpr int kKindQueries = 3;
constexpr auto kResetPause = 200ms;
constexpr auto kQueryPause = 200ms;
constexpr auto kBlockPause = 50ms;
}  // namespace

std::string FirmwareEndNote(std::uint32_t message, std::uintptr_t block, std::intptr_t code) {
  if (message == WM_FW_STOPPED) return "Update firmware is stopped.";
  if (message == WM_FW_FINISHED) return "Update firmware is finished.";
  return "Update firmware error, the error position is " + std::to_string(block) + "," +
         std::string(ErrorText(static_cast<int>(code)));
}

bool FirmwareEndLeavesUpdateMode(std::uint32_t message, std::uintptr_t block) {
  return message == WM_FW_FINISHED || (message == WM_FW_FAILED && block == 0);
}

FirmwareWorker::FirmwareWorker(FirmwareReports& reports, kit::Clock& clock)
    : m_reports(reports), m_clock(clock), m_thread([this] { run(); }) {}

FirmwareWorker::~FirmwareWorker() { shutdown(); }

void FirmwareWorker::start(const FirmwareJob& job) {
  m_job = job;
  m_startEvent.set();
}

bool FirmwareWorker::requestStop() { return m_queue.post({WM_FW_STOP_REQUEST, 0, 0}); }

void FirmwareWorker::shutdown() {
  if (!m_thread.joinable()) return;
  m_quitting = true;
  m_stopEvent.set();
  m_thread.join();
}

void FirmwareWorker::run() {
  kit::Event* const events[] = {&m_startEvent, &m_stopEvent};
  for (;;) {
    const kit::WaitResult woke = kit::WaitAny(events, kit::kInfinite);
    if (woke.timedOut || woke.index != 0) return;
    update();
  }
}

bool FirmwareWorker::stopRequested() {
  bool stop = m_quitting.load();
  while (auto message = m_queue.get(0ms)) stop |= message->id == WM_FW_STOP_REQUEST;
  return stop;
}

void FirmwareWorker::fail(std::uintptr_t block, int code) {
  m_reports.report(WM_FW_FAILED, block, code);
}

void FirmwareWorker::update() {
  ModuleLink& link = *m_job.link;
  std::array<std::byte, kImageHeaderSize> header{};
  const std::size_t headerRead = std::fread(header.data(), 1, header.size(), m_job.image);
  if (headerRead != header.size() || !IsFirmwareImageHeader(header, m_job.fileSize)) {
    m_reports.note("Please choose the right file to update！");
    return fail(0, 0);
  }

  int mode = m_job.updateMode + 1;
  (void)stopRequested();  // a stop asked for before this start is void
  m_reports.report(WM_FW_STARTED, 0, 0);

  if (int result = link.updateMode(CommandForm::Set, mode); result != kResultOk) {
    m_reports.note("Update mode set failed," + std::string(ErrorText(result)));
    return fail(0, 0);
  }
  (void)link.resetModule();  // a reset that did not arrive shows in the queries below
  m_clock.sleep(kResetPause);

  int kind = 0;
  int result = kResultOk;
  for (int query = 0; query < kKindQueries; ++query) {
    if (query > 0) m_clock.sleep(kQueryPause);
    result = link.firmwareKind(kind);
    if (result == kResultOk && kind == kLoadProgramme) break;
  }
  if (result != kResultOk || kind != kLoadProgramme) {
    // The last query's error, or, when the module answered with its main programme,
    // a sentence that says so.
    const std::string_view why = result != kResultOk ? ErrorText(result) : "the load programme does not run!";
    m_reports.note("Update mode is not right," + std::string(why));
    return fail(0, 0);
  }

  const std::uint64_t payload = m_job.fileSize - kImageHeaderSize;
  const auto count = static_cast<std::uint16_t>(FirmwareBlockCount(m_job.fileSize));
  std::uint64_t offset = 0;
  std::array<std::byte, kBlockPayloadSize> data{};
  for (;;) {
    if (stopRequested()) return m_reports.report(WM_FW_STOPPED, 0, 0);
    const auto number = static_cast<std::uint16_t>(offset / kBlockPayloadSize);
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockPayloadSize, payload - offset));
    const std::size_t got = wanted > 0 ? std::fread(data.data(), 1, wanted, m_job.image) : 0;
    if (got == 0) {
      // The header promised more than the file gave (it shrank under us): never call
      // a cut image finished.
      if (offset < payload) return fail(number, kResultOk);
      return m_reports.report(WM_FW_FINISHED, 0, 0);
    }
    const FirmwareBlock block = BuildFirmwareBlock(number, count, std::span(data).first(got));
    result = link.firmwareBlock(block);
    if (result != kResultOk) result = link.firmwareBlock(block);
    if (result != kResultOk) return fail(number, result);
    m_clock.sleep(kBlockPause);
    m_reports.report(WM_FW_BLOCK_SENT, 0, 0);
    offset += got;
  }
}

}  // namespace tarnwave
