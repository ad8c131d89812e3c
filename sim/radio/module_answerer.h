#pragma once
// What a virtual module does with what it hears over the air: a request text
// (or raw data) in, the reply text out, as the module's command engine would
// write it on its serial line. The radio side turns it into reply frames.

#include <optional>
#include <string>
#include <string_view>

namespace sim::radio {

enum class HeardKind { RequestText, RawData };

class ModuleAnswerer {
public:
    virtual ~ModuleAnswerer() = default;
    // The reply text, or nullopt when the module stays quiet.
    virtual std::optional<std::string> answer(HeardKind kind, std::string_view bytes) = 0;
    // The module's wireless access password (six characters).
    virtual std::string wirelessPassword() const = 0;
};

}  // namespace sim::radio
