#pragma once
// MessNoteSink: lets code outside the window thread (the module link, when the dongle is
// pulled) show a note. showNote() queues the text and posts WM_SHOW_NOTE; the window
// thread then shows each text, in order, as a CMess note owned by the given window.
//
// showNote() may be called from any thread and returns at once. The sink must outlive
// every thread that may call it; notes still queued when it is destroyed are dropped.
#include <deque>
#include <mutex>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/note_sink.h"

namespace tarnwave {

class MessNoteSink : public kit::ui::NoteSink {
 public:
  // owner: the window the notes belong to (may be null); not owned.
  MessNoteSink(kit::ui::Host& host, kit::ui::Dialog* owner);

  void showNote(std::string text) override;

 private:
  // Receives the posted messages on the window thread; it never shows a window itself.
  class Relay : public kit::ui::Dialog {
   public:
    explicit Relay(MessNoteSink& sink);
    const kit::ui::MessageMap* messageMap() const override;

   private:
    std::intptr_t OnShowNote(std::uintptr_t, std::intptr_t);
    MessNoteSink& m_sink;
  };

  void showNext();

  kit::ui::Host& m_host;
  kit::ui::Dialog* m_owner;
  std::mutex m_mutex;
  std::deque<std::string> m_pending;
  Relay m_relay;
};

}  // namespace tarnwave
