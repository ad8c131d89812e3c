#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit::winenv {

// A setup information file: sections of lines, each line either
// "key = value" or a bare value. Section names compare without regard to
// case; comments (";" outside quotes) and blank lines are dropped; the lines
// of a section that occurs twice are joined in file order.
class InfFile {
public:
    struct Line {
        std::string key;    // empty for a bare line; quotes removed
        std::string value;  // text after "=", or the whole bare line, trimmed
        bool hasKey = false;
    };

    [[nodiscard]] static InfFile Parse(std::string_view text);

    [[nodiscard]] bool hasSection(std::string_view name) const;
    // The lines of a section; empty when it is absent.
    [[nodiscard]] std::vector<Line> section(std::string_view name) const;
    // The value of the first line with that key (case-insensitive).
    [[nodiscard]] std::optional<std::string> value(std::string_view section,
                                                   std::string_view key) const;
    // "%NAME%" tokens replaced from the [Strings] section, quotes removed.
    [[nodiscard]] std::string expandStrings(std::string_view text) const;

private:
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    std::vector<Section> m_sections;
};

// Splits a comma-separated INF field list, trimming blanks and quotes.
[[nodiscard]] std::vector<std::string> SplitInfFields(std::string_view text);
[[nodiscard]] std::string TrimInf(std::string_view text);

}  // namespace kit::winenv
