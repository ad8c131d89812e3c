#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include <nlohmann/json.hpp>

namespace kit::winenv {

// One JSON document kept in a file of the machine root. Readers see either the
// old or the new document, never half of one: writes go to a temporary file
// that is flushed and renamed. `update` holds an advisory lock on a side file
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

private:
    std::filesystem::path m_file;
};

}  // namespace kit::winenv
