#pragma once

#include <string_view>

namespace kit::setup {

enum class MessageIcon { None, Information, Error };

// Where the installation shows its messages and sends its quit request. The
// wizard shows them in message boxes and ends its modal loop; the unattended
// mode prints them.
class OutcomeSink {
public:
    virtual ~OutcomeSink() = default;
    // A modal message with an OK button; returns when it has been closed.
    // `text` is UTF-8.
    virtual void showMessage(std::string_view title, std::string_view text, MessageIcon icon) = 0;
    // Asks the wizard window to end.
    virtual void postQuit() = 0;
};

}  // namespace kit::setup
