#pragma once

#include <filesystem>
#include <functional>
#include <cstdint>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kit::winenv {

// One JSON document kept in a file of the machine root. Readers see either the
// old or the new document, never half of one: writes go to a new temporary
// file of the same folder (created exclusively, never through a link) that is
// flushed and renamed. The store file itself is never read through a link.
// The folder must exist: a store never creates it. `update` holds an advisory lock on a side file
// for the whole read-modify-write, so the installer and the printer setup
// command never lose each other's changes.
class JsonStore {
public:
    explicit JsonStore(std::filesystem::path file) : m_file(std::move(file)) {}

    // The document, an empty object when the file does not exist, nothing
    // when it cannot be read or parsed.
    [[nodiscard]] std::optional<nlohmann::json> load() const;

    // Loads the document, lets `change` edit it and stores it when `change`
    // returns true. False when the file could not be read or written.
    [[nodiscard]] bool update(const std::function<bool(nlohmann::json&)>& change) const;

    [[nodiscard]] bool save(const nlohmann::json& document) const;

    // Limits of a document that is read: bytes, and nesting of objects and
    // arrays (a registry of 512 key levels needs about 1030).
    static constexpr std::uintmax_t kMaxBytes = 64u * 1024 * 1024;
    static constexpr std::size_t kMaxNesting = 1200;

private:
    std::filesystem::path m_file;
};

// Whether the objects and arrays of a JSON text nest at most `limit` deep.
[[nodiscard]] bool NestingWithin(std::string_view text, std::size_t limit);

}  // namespace kit::winenv
