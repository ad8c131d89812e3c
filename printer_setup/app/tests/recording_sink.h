#pragma once

#include <string>
#include <vector>

#include "printer_setup/app/outcome_sink.h"

namespace kit::setup::testing {

// Keeps every message the installer shows, and the quit request.
class RecordingSink : public OutcomeSink {
public:
    struct Message {
        std::string title;
        std::string text;
        MessageIcon icon;
    };
    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override {
        messages.push_back({std::string(title), std::string(text), icon});
    }
    void postQuit() override { ++quitRequests; }

    std::vector<Message> messages;
    int quitRequests = 0;
};

}  // namespace kit::setup::testing
