#include "printer_setup/app/console_outcome_sink.h"

namespace kit::setup {

void ConsoleOutcomeSink::showMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    (void)icon;
    m_out << title << ": " << text << '\n';
    m_out.flush();
}

}  // namespace kit::setup
