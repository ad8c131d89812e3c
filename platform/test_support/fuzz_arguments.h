#pragma once
// The command line of a fuzz input: the bytes split at NUL into arguments, after a
// fixed program name. A trailing NUL ends the last argument; two NULs in a row give an
// empty argument (a program must take "" as well as any other text).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

class FuzzArguments {
public:
    FuzzArguments(const char* program, const std::uint8_t* data, std::size_t size) {
        m_words.emplace_back(program);
        const char* text = reinterpret_cast<const char*>(data);
        std::size_t start = 0;
        for (std::size_t i = 0; i <= size; ++i) {
            if (i == size || text[i] == '\0') {
                if (i < size || i > start) m_words.emplace_back(text + start, i - start);
                start = i + 1;
            }
        }
        for (const auto& word : m_words) m_argv.push_back(word.c_str());
        m_argv.push_back(nullptr);
    }
    FuzzArguments(const FuzzArguments&) = delete;
    FuzzArguments& operator=(const FuzzArguments&) = delete;

    int argc() const { return static_cast<int>(m_words.size()); }
    const char* const* argv() const { return m_argv.data(); }

private:
    std::vector<std::string> m_words;
    std::vector<const char*> m_argv;
};

}  // namespace test_support
