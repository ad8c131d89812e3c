#pragma once
// What a command-line program needs of its terminal: whether its standard output is
// one (progress bars then, plain lines otherwise), and Ctrl-C as a request to stop.
namespace kit {

bool StandardOutputIsTerminal();

// While an InterruptRequest lives, SIGINT and SIGTERM no longer end the process: they
// set a flag the program polls. The previous handlers come back when it is destroyed.
// One at a time per process.
class InterruptRequest {
 public:
  InterruptRequest();
  ~InterruptRequest();
  InterruptRequest(const InterruptRequest&) = delete;
  InterruptRequest& operator=(const InterruptRequest&) = delete;

  bool requested() const;
};

}  // namespace kit
