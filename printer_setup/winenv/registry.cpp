#include "printer_setup/winenv/registry.h"

namespace kit::winenv {
using nlohmann::json;

namespace {

// A key node: {"name": "...", "values": {lower: {name,type,data}}, "keys": {lower: node}}.
json NewKey(const std::string& name) {
    return json{{"name", name}, {"values", json::object()}, {"keys", json::object()}};
}

json& RootNode(json& document) {
    if (!document.contains("HKLM") || !document["HKLM"].is_object()) {
        document["HKLM"] = NewKey("HKEY_LOCAL_MACHINE");
    }
    return document["HKLM"];
}

const json& Member(const json& node, const char* name) {
    static const json empty = json::object();
    auto it = node.find(name);
    return (it != node.end() && it->is_object()) ? *it : empty;
}

const json* FindKey(const json& document, const std::vector<std::string>& parts) {
    auto root = document.find("HKLM");
    if (root == document.end() || !root->is_object()) return nullptr;
    const json* node = &*root;
    for (const auto& part : parts) {
        const json& keys = Member(*node, "keys");
        auto it = keys.find(LowerAscii(part));
        if (it == keys.end()) return nullptr;
        node = &*it;
    }
    return node;
}

std::string HexEncode(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

std::string HexDecode(const std::string& text) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        out.push_back(static_cast<char>(nibble(text[i]) * 16 + nibble(text[i + 1])));
    }
    return out;
}

Registry::Value ValueFromJson(const json& node) {
    Registry::Value v;
    if (!node.is_object()) return v;
    v.name = node.value("name", "");
    v.type = node.value("type", Registry::kString);
    v.data = HexDecode(node.value("data", ""));
    return v;
}

bool ValidParts(const std::vector<std::string>& parts) {
    if (parts.size() > Registry::kMaxKeyDepth) return false;
    for (const auto& part : parts) {
        if (part.size() > 255) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitKeyPath(std::string_view keyPath) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : keyPath) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

Registry::Registry(const MachineRoot& root) : m_store(root.storeFile("registry.json")) {}

WinStatus Registry::createKey(std::string_view keyPath) const {
    auto parts = SplitKeyPath(keyPath);
    if (!ValidParts(parts)) return WinStatus::InvalidParameter;
    bool stored = m_store.update([&](json& document) {
        json* node = &RootNode(document);
        bool changed = false;
        for (const auto& part : parts) {
            json& keys = (*node)["keys"];
            std::string lower = LowerAscii(part);
            if (!keys.contains(lower)) {
                keys[lower] = NewKey(part);
                changed = true;
            }
            node = &keys[lower];
        }
        return changed;
    });
    return stored ? WinStatus::Ok : WinStatus::AccessDenied;
}

bool Registry::keyExists(std::string_view keyPath) const {
    auto document = m_store.load();
    if (!document) return false;
    auto parts = SplitKeyPath(keyPath);
    if (parts.empty()) return true;
    return FindKey(*document, parts) != nullptr;
}

WinStatus Registry::setValue(std::string_view keyPath, std::string_view valueName,
                             std::uint32_t type, std::string_view data) const {
    auto parts = SplitKeyPath(keyPath);
    WinStatus status = WinStatus::Ok;
    bool stored = m_store.update([&](json& document) {
        json* node = &RootNode(document);
        for (const auto& part : parts) {
            json& keys = (*node)["keys"];
            auto it = keys.find(LowerAscii(part));
            if (it == keys.end()) {
                status = WinStatus::FileNotFound;
                return false;
            }
            node = &*it;
        }
        std::string name(valueName);
        (*node)["values"][LowerAscii(name)] =
            json{{"name", name}, {"type", type}, {"data", HexEncode(data)}};
        return true;
    });
    if (!stored) return WinStatus::AccessDenied;
    return status;
}

std::optional<Registry::Value> Registry::value(std::string_view keyPath,
                                               std::string_view valueName) const try {
    auto document = m_store.load();
    if (!document) return std::nullopt;
    auto parts = SplitKeyPath(keyPath);
    const json* node = FindKey(*document, parts);
    if (node == nullptr) return std::nullopt;
    const json& values = Member(*node, "values");
    auto it = values.find(LowerAscii(valueName));
    if (it == values.end()) return std::nullopt;
    return ValueFromJson(*it);
} catch (const nlohmann::json::exception&) {
    return std::nullopt;
}

std::optional<std::string> Registry::stringValue(std::string_view keyPath,
                                                 std::string_view valueName) const {
    auto v = value(keyPath, valueName);
    if (!v) return std::nullopt;
    std::string text = v->data;
    auto nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

std::optional<Registry::KeyListing> Registry::list(std::string_view keyPath) const try {
    auto document = m_store.load();
    if (!document) return std::nullopt;
    json copy = *document;
    RootNode(copy);
    auto parts = SplitKeyPath(keyPath);
    const json* node = FindKey(copy, parts);
    if (node == nullptr) return std::nullopt;
    KeyListing listing;
    listing.name = node->value("name", "");
    for (const auto& [lower, sub] : Member(*node, "keys").items()) listing.subkeys.push_back(sub.value("name", lower));
    for (const auto& [lower, v] : Member(*node, "values").items()) listing.values.push_back(ValueFromJson(v));
    return listing;
} catch (const nlohmann::json::exception&) {
    return std::nullopt;
}

}  // namespace kit::winenv
