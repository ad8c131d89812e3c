#include "sim/radio/engine_answerer.h"

#include "sim/module/serial_framing.h"

namespace sim::radio {

EngineAnswerer::EngineAnswerer(const kirva::RadioAddress& address, std::string password)
    : m_engine(address), m_password(std::move(password)) {}

std::optional<std::string> EngineAnswerer::answer(HeardKind kind, std::string_view bytes) {
    std::lock_guard lock(m_mutex);
    if (kind == HeardKind::RawData) {
        m_engine.receiveRaw(bytes);
        return std::nullopt;
    }
    // The request text ends with its carriage return; the engine takes it without.
    std::string_view request = bytes.substr(0, bytes.find('\r'));
    const auto reply = m_engine.handle(request);
    if (reply.silent) return std::nullopt;
    return kitsim::FormatSerialReply(reply);
}

}  // namespace sim::radio
