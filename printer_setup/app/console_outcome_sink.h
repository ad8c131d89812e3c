#pragma once

#include <ostream>

#include "printer_setup/app/outcome_sink.h"

namespace kit::setup {

// Shows the installer's messages as lines on a stream ("title: text") and
// remembers whether the quit request came.
class ConsoleOutcomeSink : public OutcomeSink {
public:
    explicit ConsoleOutcomeSink(std::ostream& out) : m_out(out) {}

    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    void postQuit() override { m_quitRequested = true; }

    [[nodiscard]] bool quitRequested() const { return m_quitRequested; }

private:
    std::ostream& m_out;
    bool m_quitRequested = false;
};

}  // namespace kit::setup
