#pragma once
// FirmwareWorker: the thread that updates a module's firmware, shared by the firmware
// page and tarnwave-cli.
//
// The thread lives as long as its owner and waits for the start event or the stop
// event. On start it checks the image header, puts the module into update mode
// ("&UPDM"), resets it ("Z"), asks up to three times, 200 ms apart, whether the load
// programme answers ("QVER"), then sends the payload in 528-byte blocks ("&UPDD"),
// each sent once more when the module refuses it, 50 ms apart. A stop request (thread
// message WM_FW_STOP_REQUEST) ends the transfer after the current block.
//
// Every update ends with exactly one report: WM_FW_STOPPED, WM_FW_FINISHED or
// WM_FW_FAILED (wParam the block number, lParam the result code); WM_FW_STARTED and
// WM_FW_BLOCK_SENT tell the progress. Reports and notes come from the worker thread.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/sync/clock.h"
#include "platform/sync/event.h"
#include "platform/sync/thread.h"
#include "platform/sync/thread_message_queue.h"

namespace tarnwave {

class ModuleLink;

// What the worker tells its owner; called on the worker thread.
class FirmwareReports {
 public:
  virtual ~FirmwareReports() = default;
  virtual void report(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // A note the worker shows itself ("Please choose the right file to update！", ...).
  virtual void note(std::string text) = 0;
};

// One update. The owner opens the image and keeps it (and the link) untouched until the
// end report; the worker only reads from it.
struct FirmwareJob {
  ModuleLink* link = nullptr;
  std::FILE* image = nullptr;
  std::uint64_t fileSize = 0;  // of the opened image, header included
  int updateMode = 0;          // 0 main programme, 1 load programme
};

// The note the firmware page shows for an end report (WM_FW_STOPPED, WM_FW_FINISHED,
// WM_FW_FAILED with its block number and result code).
std::string FirmwareEndNote(std::uint32_t message, std::uintptr_t block, std::intptr_t code);
// Whether the module is then told to leave update mode ("&UPDM" 0): after a finished
// update, and after a failure at block 0.
bool FirmwareEndLeavesUpdateMode(std::uint32_t message, std::uintptr_t block);

class FirmwareWorker {
 public:
  explicit FirmwareWorker(FirmwareReports& reports, kit::Clock& clock = kit::SystemClock::instance());
  ~FirmwareWorker();
  FirmwareWorker(const FirmwareWorker&) = delete;
  FirmwareWorker& operator=(const FirmwareWorker&) = delete;

  // Hands over the job and signals the start event (no update may be running).
  void start(const FirmwareJob& job);
  // Posts a stop request to the worker's queue; any thread.
  bool requestStop();
  // Signals the stop event and waits for the thread to end (a running update is asked
  // to stop first and ends with its report). Idempotent.
  void shutdown();

 private:
  void run();
  void update();
  bool stopRequested();
  void fail(std::uintptr_t block, int code);

  FirmwareReports& m_reports;
  kit::Clock& m_clock;
  kit::Event m_startEvent{kit::EventReset::Auto};
  kit::Event m_stopEvent{kit::EventReset::Auto};
  kit::ThreadMessageQueue m_queue;
  FirmwareJob m_job;
  std::atomic<bool> m_quitting{false};
  kit::Thread m_thread;  // last: started when everything else exists
};

}  // namespace tarnwave
