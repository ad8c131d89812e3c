#pragma once

// The virtual module's parameters: factory values and the checks a set passes.
// Every value is kept in the text form the module answers a query with.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kitsim {

using ParameterValues = std::map<std::string, std::string, std::less<>>;

// Factory values of all parameter commands, by mnemonic.
ParameterValues FactoryParameters();
bool IsParameterMnemonic(std::string_view mnemonic);
// The canonical stored text of a set argument (without "!"), or nullopt when the
// value is invalid for the command.
std::optional<std::string> CheckParameter(std::string_view mnemonic, std::string_view value);

}  // namespace kitsim
