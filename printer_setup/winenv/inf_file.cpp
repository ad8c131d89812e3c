#include "printer_setup/winenv/inf_file.h"

#include "printer_setup/winenv/machine_root.h"

namespace kit::winenv {

std::string TrimInf(std::string_view text) {
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return {};
    auto end = text.find_last_not_of(" \t\r\n");
    std::string out(text.substr(begin, end - begin + 1));
    if (out.size() >= 2 && out.front() == '"' && out.back() == '"') out = out.substr(1, out.size() - 2);
    return out;
}

namespace {

std::string StripComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ';' && !quoted) return std::string(line.substr(0, i));
    }
    return std::string(line);
}

}  // namespace

std::vector<std::string> SplitInfFields(std::string_view text) {
    std::vector<std::string> fields;
    std::string current;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back(TrimInf(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    fields.push_back(TrimInf(current));
    return fields;
}

InfFile InfFile::Parse(std::string_view text) {
    InfFile inf;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string line = StripComment(text.substr(pos, end - pos));
        pos = end + 1;
        std::string trimmed = TrimInf(line);
        if (trimmed.empty()) continue;
        std::string raw = line.substr(line.find_first_not_of(" \t"));
        if (raw.front() == '[') {
            auto close = raw.find(']');
            std::string name = raw.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            current = nullptr;
            for (auto& s : inf.m_sections) {
                if (EqualNoCase(s.name, name)) current = &s;
            }
            if (current == nullptr) {
                inf.m_sections.push_back({name, {}});
                current = &inf.m_sections.back();
            }
            continue;
        }
        if (current == nullptr) continue;
        Line entry;
        bool quoted = false;
        std::size_t equals = std::string::npos;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '"') quoted = !quoted;
            if (raw[i] == '=' && !quoted) {
                equals = i;
                break;
            }
        }
        if (equals == std::string::npos) {
            entry.value = TrimInf(raw);
        } else {
            entry.hasKey = true;
            entry.key = TrimInf(raw.substr(0, equals));
            entry.value = TrimInf(raw.substr(equals + 1));
        }
        current->lines.push_back(std::move(entry));
    }
    return inf;
}

bool InfFile::hasSection(std::string_view name) const {
    for (const auto& s : m_sections) {
        if (EqualNoCase(s.name, name)) return true;
    }
    return false;
}

std::vector<InfFile::Line> InfFile::section(std::string_view name) const {
    for (const auto& s : m_sections) {
        if (EqualNoCase(s.name, name)) return s.lines;
    }
    return {};
}

std::optional<std::string> InfFile::value(std::string_view sectionName, std::string_view key) const {
    for (const auto& line : section(sectionName)) {
        if (line.hasKey && EqualNoCase(line.key, key)) return line.value;
    }
    return std::nullopt;
}

std::string InfFile::expandStrings(std::string_view text) const {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '%') {
            auto close = text.find('%', i + 1);
            if (close != std::string_view::npos) {
                std::string_view name = text.substr(i + 1, close - i - 1);
                if (auto v = value("Strings", name)) {
                    out += *v;
                    i = close + 1;
                    continue;
                }
            }
        }
        out.push_back(text[i]);
        ++i;
    }
    return TrimInf(out);
}

}  // namespace kit::winenv
