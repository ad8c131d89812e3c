#include "printer_setup/winenv/spooler.h"

#include <cstring>
#include <filesystem>

#include "printer_setup/winenv/machine_settings.h"

namespace kit::winenv {
using nlohmann::json;

namespace {

// A text member of an object, empty when it is missing or not a text (a store
// edited by hand must not bring the spooler down).
std::string Text(const json& object, const char* member) {
    auto it = object.find(member);
    return (it != object.end() && it->is_string()) ? it->get<std::string>() : std::string{};
}

std::vector<PrinterRecord> PrintersOf(const json& document) {
    std::vector<PrinterRecord> list;
    auto it = document.find("printers");
    if (it == document.end() || !it->is_array()) return list;
    for (const auto& p : *it) {
        if (!p.is_object()) continue;
        list.push_back({Text(p, "name"), Text(p, "port"), Text(p, "driver")});
    }
    return list;
}

std::vector<std::string> Strings(const json& document, const char* member) {
    std::vector<std::string> list;
    auto it = document.find(member);
    if (it == document.end() || !it->is_array()) return list;
    for (const auto& s : *it) {
        if (s.is_string()) list.push_back(s.get<std::string>());
    }
    return list;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

}  // namespace

bool IsValidPrinterName(std::string_view name) {
    return !name.empty() && name.size() <= Spooler::kMaxPrinterName &&
           name.find_first_of(",!\\") == std::string_view::npos && !HasControlCharacter(name);
}

Spooler::Spooler(const MachineRoot& root) : m_root(root), m_store(root.storeFile("spooler.json")) {}

bool Spooler::readable() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(m_root.storeFile("spooler.json"), ec) && m_store.load().has_value();
}

bool Spooler::stopped() const {
    return MachineSettings::Load(m_root).spoolerFault == SpoolerFault::Stopped;
}

WinStatus Spooler::getPrinterDriverDirectory(std::string_view environment, int level,
                                             std::span<char> buffer,
                                             std::uint32_t& needed) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    if (level != 1) return WinStatus::InvalidLevel;
    if (!EqualNoCase(environment, kEnvironment)) return WinStatus::InvalidEnvironment;
    std::size_t size = std::strlen(kDriverDirectory) + 1;
    needed = static_cast<std::uint32_t>(size);
    if (buffer.size() < size) return WinStatus::InsufficientBuffer;
    std::memcpy(buffer.data(), kDriverDirectory, size);
    return WinStatus::Ok;
}

WinStatus Spooler::enumPrinters(std::span<char> buffer, std::uint32_t& needed,
                                std::uint32_t& returned) const {
    returned = 0;
    needed = 0;
    MachineSettings settings = MachineSettings::Load(m_root);
    if (settings.spoolerFault == SpoolerFault::Stopped) return WinStatus::SpoolerUnavailable;
    auto document = m_store.load();
    if (!document) return WinStatus::SpoolerUnavailable;
    std::vector<PrinterRecord> list = PrintersOf(*document);
    std::size_t size = 0;
    for (const auto& p : list) size += p.name.size() + 1;
    needed = static_cast<std::uint32_t>(size);
    if (size == 0) return WinStatus::Ok;
    if (buffer.size() < size) return WinStatus::InsufficientBuffer;
    if (settings.spoolerFault == SpoolerFault::EnumCallFails) return WinStatus::SpoolerUnavailable;
    char* out = buffer.data();
    for (const auto& p : list) {
        std::memcpy(out, p.name.c_str(), p.name.size() + 1);
        out += p.name.size() + 1;
    }
    returned = static_cast<std::uint32_t>(list.size());
    return WinStatus::Ok;
}

WinStatus Spooler::openLocalServer() const {
    return stopped() ? WinStatus::SpoolerUnavailable : WinStatus::Ok;
}

WinStatus Spooler::deleteForm(std::string_view formName) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    WinStatus status = WinStatus::InvalidFormName;
    bool stored = m_store.update([&](json& document) {
        std::vector<std::string> forms = Strings(document, "forms");
        json kept = json::array();
        for (const auto& f : forms) {
            if (status != WinStatus::Ok && EqualNoCase(f, formName)) {
                status = WinStatus::Ok;
            } else {
                kept.push_back(f);
            }
        }
        document["forms"] = kept;
        return status == WinStatus::Ok;
    });
    return stored ? status : WinStatus::AccessDenied;
}

WinStatus Spooler::addPrinter(const PrinterRecord& printer) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    if (!IsValidPrinterName(printer.name) || HasControlCharacter(printer.port) ||
        HasControlCharacter(printer.driver)) {
        return WinStatus::InvalidPrinterName;
    }
    WinStatus status = WinStatus::Ok;
    bool stored = m_store.update([&](json& document) {
        for (const auto& p : PrintersOf(document)) {
            if (EqualNoCase(p.name, printer.name)) {
                status = WinStatus::AlreadyExists;
                return false;
            }
        }
        if (!document.contains("printers") || !document["printers"].is_array()) {
            document["printers"] = json::array();
        }
        document["printers"].push_back(
            {{"name", printer.name}, {"port", printer.port}, {"driver", printer.driver}});
        // The first printer of a machine becomes its default printer.
        if (Text(document, "default").empty()) document["default"] = printer.name;
        return true;
    });
    return stored ? status : WinStatus::AccessDenied;
}

WinStatus Spooler::setDefaultPrinter(std::string_view name) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    WinStatus status = WinStatus::InvalidPrinterName;
    bool stored = m_store.update([&](json& document) {
        for (const auto& p : PrintersOf(document)) {
            if (EqualNoCase(p.name, name)) {
                document["default"] = p.name;
                status = WinStatus::Ok;
                return true;
            }
        }
        return false;
    });
    return stored ? status : WinStatus::AccessDenied;
}

WinStatus Spooler::addDriver(const DriverRecord& driver) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    bool stored = m_store.update([&](json& document) {
        json kept = json::array();
        if (auto it = document.find("drivers"); it != document.end() && it->is_array()) {
            for (const auto& d : *it) {
                if (d.is_object() && !EqualNoCase(Text(d, "name"), driver.name)) kept.push_back(d);
            }
        }
        kept.push_back({{"name", driver.name}, {"environment", driver.environment}, {"files", driver.files}});
        document["drivers"] = kept;
        return true;
    });
    return stored ? WinStatus::Ok : WinStatus::AccessDenied;
}

WinStatus Spooler::addForm(std::string_view formName) const {
    if (stopped()) return WinStatus::SpoolerUnavailable;
    WinStatus status = WinStatus::Ok;
    bool stored = m_store.update([&](json& document) {
        std::vector<std::string> forms = Strings(document, "forms");
        for (const auto& f : forms) {
            if (EqualNoCase(f, formName)) {
                status = WinStatus::AlreadyExists;
                return false;
            }
        }
        if (!document.contains("forms") || !document["forms"].is_array()) document["forms"] = json::array();
        document["forms"].push_back(std::string(formName));
        return true;
    });
    return stored ? status : WinStatus::AccessDenied;
}

std::vector<PrinterRecord> Spooler::printers() const {
    auto document = m_store.load();
    return document ? PrintersOf(*document) : std::vector<PrinterRecord>{};
}

std::optional<PrinterRecord> Spooler::findPrinter(std::string_view name) const {
    for (auto& p : printers()) {
        if (EqualNoCase(p.name, name)) return p;
    }
    return std::nullopt;
}

std::string Spooler::defaultPrinter() const {
    auto document = m_store.load();
    if (!document) return {};
    auto it = document->find("default");
    return (it != document->end() && it->is_string()) ? it->get<std::string>() : std::string{};
}

std::vector<std::string> Spooler::forms() const {
    auto document = m_store.load();
    return document ? Strings(*document, "forms") : std::vector<std::string>{};
}

std::vector<DriverRecord> Spooler::drivers() const {
    std::vector<DriverRecord> list;
    auto document = m_store.load();
    if (!document) return list;
    auto it = document->find("drivers");
    if (it == document->end() || !it->is_array()) return list;
    for (const auto& d : *it) {
        if (!d.is_object()) continue;
        DriverRecord r{Text(d, "name"), Text(d, "environment"), {}};
        if (auto f = d.find("files"); f != d.end() && f->is_array()) {
            for (const auto& s : *f) {
                if (s.is_string()) r.files.push_back(s.get<std::string>());
            }
        }
        list.push_back(std::move(r));
    }
    return list;
}

}  // namespace kit::winenv
