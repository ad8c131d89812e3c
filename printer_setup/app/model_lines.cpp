#include "printer_setup/app/model_lines.h"

namespace kit::setup {

namespace {

std::string Field(std::string text) {
    if (text.size() > kLinePieceLimit) text.resize(kLinePieceLimit);
    return text;
}

}  // namespace

std::vector<ModelLinePair> BuildModelLineTable(std::string_view modelName) {
    const std::string m(modelName);
    return {
        {"OEMDriverFile1=", Field("OEMDriverFile1=" + m + "D.DLL")},
        {"OEMConfigFile1=", Field("OEMConfigFile1=" + m + "F.DLL")},
        {"*GPDFileName:", Field("*GPDFileName: \"" + m + ".GPD\"")},
        {"*ModelName:", Field("*ModelName: \"" + m + "\"")},
        {"*ResourceDLL:", Field("*ResourceDLL: \"" + m + "RES.DLL\"")},
    };
}

std::string RewriteModelLines(std::string_view source, const ModelLinePair* pairs, std::size_t count) {
    // Text-mode reading: a CR directly before an LF disappears.
    std::string text;
    text.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n') continue;
        text.push_back(source[i]);
    }
    std::string out;
    out.reserve(text.size() + 64);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t newline = text.find('\n', pos);
        std::size_t end = newline == std::string::npos ? text.size() : newline + 1;
        if (end - pos > kLinePieceLimit) end = pos + kLinePieceLimit;
        std::string_view piece(text.data() + pos, end - pos);
        pos = end;
        const ModelLinePair* match = nullptr;
        for (std::size_t i = 0; i < count && match == nullptr; ++i) {
            if (piece.find(pairs[i].search) != std::string_view::npos) match = &pairs[i];
        }
        if (match != nullptr) {
            out += match->replacement;
            out.push_back('\n');
        } else {
            out += piece;
            if (piece.back() != '\n') out.push_back('\n');
        }
    }
    return out;
}

}  // namespace kit::setup
