#pragma once
// A virtual module's answers over the air come from the module's real command
// engine; this turns its replies into the text the radio carries.

#include <mutex>
#include <string>

#include "dongle_driver/interface/dongle_interface.h"
#include "sim/module/module_engine.h"
#include "sim/radio/module_answerer.h"

namespace sim::radio {

class EngineAnswerer : public ModuleAnswerer {
public:
    // password: the module's wireless access password (six characters); empty
    // accepts any.
    EngineAnswerer(const kirva::RadioAddress& address, std::string password);

    std::optional<std::string> answer(HeardKind kind, std::string_view bytes) override;
    std::string wirelessPassword() const override { return m_password; }

private:
    std::mutex m_mutex;
    kitsim::ModuleEngine m_engine;
    const std::string m_password;
};

}  // namespace sim::radio
