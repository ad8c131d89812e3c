#include "printer_setup/winenv/printer_setup_words.h"

#include "printer_setup/winenv/machine_root.h"

namespace kit::winenv {

std::variant<PrinterSetupRequest, PrinterSetupWordsError> ParsePrinterSetupWords(
    const std::vector<std::string>& words) {
    using Error = PrinterSetupWordsError;
    PrinterSetupRequest request;
    bool installForm = false;
    bool defaultForm = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        auto next = [&](std::string& target) {
            if (i + 1 >= words.size()) return false;
            target = words[++i];
            return true;
        };
        if (EqualNoCase(w, "/if")) installForm = true;
        else if (EqualNoCase(w, "/y")) defaultForm = true;
        else if (EqualNoCase(w, "/f")) { if (!next(request.inf)) return Error{"/f needs an INF path"}; }
        else if (EqualNoCase(w, "/r")) { if (!next(request.port)) return Error{"/r needs a port name"}; }
        else if (EqualNoCase(w, "/b")) { if (!next(request.name)) return Error{"/b needs a printer name"}; }
        else if (EqualNoCase(w, "/n")) { if (!next(request.name)) return Error{"/n needs a printer name"}; }
        else if (EqualNoCase(w, "/m")) { if (!next(request.model)) return Error{"/m needs a model name"}; }
        else return Error{"unknown argument \"" + w + "\""};
    }
    if (installForm == defaultForm) return Error{"give either /if or /y"};
    request.install = installForm;
    if (defaultForm) {
        if (request.name.empty()) return Error{"/y needs /n NAME"};
        return request;
    }
    if (request.inf.empty() || request.port.empty() || request.name.empty() || request.model.empty())
        return Error{"/if needs /f INF, /r PORT, /b NAME and /m MODEL"};
    return request;
}

}  // namespace kit::winenv
