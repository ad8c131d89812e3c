#pragma once

#include <string>
#include <variant>
#include <vector>

namespace kit::winenv {

// What the words after "printui.dll,PrintUIEntry" ask for (see PrinterSetupCommand).
struct PrinterSetupRequest {
    bool install = false;  // /if; otherwise /y (make the printer the default)
    std::string inf, port, name, model;
};

// A usage error in the words: the message for stderr (the command answers exit 2).
struct PrinterSetupWordsError {
    std::string message;
};

// Reads the words (switches in any case and order); every switch that needs a value
// must have one, exactly one of /if and /y must be given, and each form must have its
// values. Nothing else is checked here.
std::variant<PrinterSetupRequest, PrinterSetupWordsError> ParsePrinterSetupWords(
    const std::vector<std::string>& words);

}  // namespace kit::winenv
