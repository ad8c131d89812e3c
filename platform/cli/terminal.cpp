#include "platform/cli/terminal.h"

#include <unistd.h>

#include <csignal>

namespace kit {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

InterruptRequest::InterruptRequest() {
  g_interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &g_previousInt);
  ::sigaction(SIGTERM, &action, &g_previousTerm);
}

InterruptRequest::~InterruptRequest() {
  ::sigaction(SIGINT, &g_previousInt, nullptr);
  ::sigaction(SIGTERM, &g_previousTerm, nullptr);
}

bool InterruptRequest::requested() const { return g_interrupted != 0; }

}  // namespace kit
