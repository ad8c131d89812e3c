#include "sim/module/parameter_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <vector>

namespace kitsim {
namespace {

std::vector<std::string_view> Split(std::string_view text, std::size_t maxPieces) {
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < maxPieces) {
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) break;
    pieces.push_back(text.substr(0, comma));
    text.remove_prefix(comma + 1);
  }
  pieces.push_back(text);
  return pieces;
}

std::optional<long> Number(std::string_view text, int base = 10) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c))) digit = std::tolower(c) - 'a' + 10;
    else return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

std::optional<long> InRange(std::string_view text, long low, long high, int base = 10) {
  auto value = Number(text, base);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// A double-quoted text of min..max characters; returns the text inside.
std::optional<std::string_view> QuotedText(std::string_view text, std::size_t min, std::size_t max) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
  std::string_view inner = text.substr(1, text.size() - 2);
  if (inner.size() < min || inner.size() > max || inner.find('"') != std::string_view::npos) return std::nullopt;
  return inner;
}

bool DottedQuad(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](std::string_view p) {
           return p.size() <= 3 && InRange(p, 0, 255).has_value();
         });
}

std::string Decimal(long value) { return std::to_string(value); }

using Rule = std::function<std::optional<std::string>(std::string_view)>;

Rule Range(long low, long high) {
  return [low, high](std::string_view v) -> std::optional<std::string> {
    auto n = InRange(v, low, high);
    if (!n) return std::nullopt;
    return Decimal(*n);
  };
}

std::optional<std::string> Ssid(std::string_view v) {
  auto inner = QuotedText(v, 1, 32);
  if (!inner) return std::nullopt;
  return std::string(v);
}

// What a real module takes is not documented; the checks below follow what the
// configuration tool sends (never stricter, so that they cannot break the tool's own
// pages), and refuse only values the tool never produces.

std::optional<std::string> Key(std::string_view v) {
  auto p = Split(v, 3);
  if (p.size() != 3) return std::nullopt;
  // Key index 1 to 4 for the WEP keys, 0 for every other encryption.
  auto type = InRange(p[0], 0, 1), id = InRange(p[1], 0, 4);
  auto key = QuotedText(p[2], 0, 64);
  if (!type || !id || !key) return std::nullopt;
  return Decimal(*type) + "," + Decimal(*id) + "," + std::string(p[2]);
}

std::optional<std::string> Nip(std::string_view v) {
  if (v == "0") return "0";
  auto p = Split(v, 5);
  if (p.size() != 5 || p[0] != "1") return std::nullopt;
  for (std::size_t i = 1; i < 5; ++i) {
    auto address = QuotedText(p[i], 7, 15);
    if (!address || !DottedQuad(*address)) return std::nullopt;
  }
  return std::string(v);
}

std::optional<std::string> Atrm(std::string_view v) {
  auto p = Split(v, 4);
  if (p.size() != 4) return std::nullopt;
  auto protocol = InRange(p[0], 0, 1), cs = InRange(p[1], 0, 1), port = InRange(p[3], 1, 65535);
  if (!protocol || !cs || !port) return std::nullopt;
  std::string third;
  if (*cs == 0) {
    auto host = QuotedText(p[2], 1, 255);
    if (!host) return std::nullopt;
    third = std::string(p[2]);
  } else {
    auto passTime = InRange(p[2], 0, 10000000);
    if (!passTime) return std::nullopt;
    third = Decimal(*passTime);
  }
  return Decimal(*protocol) + "," + Decimal(*cs) + "," + third + "," + Decimal(*port);
}

std::optional<std::string> Bssid(std::string_view v) {
  if (v == "0") return "0";
  auto p = Split(v, 2);
  if (p.size() != 2 || p[0] != "1" || p[1].size() != 12 || !Number(p[1].substr(0, 6), 16) ||
      !Number(p[1].substr(6), 16))
    return std::nullopt;
  std::string hex(p[1]);
  for (char& c : hex) c = static_cast<char>(std::tolower(c));
  return "1," + hex;
}

std::optional<std::string> Chl(std::string_view v) {
  if (v == "0") return "0";
  auto p = Split(v, 2);
  if (p.size() != 2 || p[0] != "1") return std::nullopt;
  auto channel = InRange(p[1], 1, 14);
  if (!channel) return std::nullopt;
  return "1," + Decimal(*channel);
}

std::optional<std::string> Chll(std::string_view v) {
  if (v.size() > 4) return std::nullopt;
  // An empty list (every channel box clear) is sent as it stands.
  auto mask = InRange(v, 0, 0x3FFF, 16);
  if (!mask) return std::nullopt;
  char text[8];
  std::snprintf(text, sizeof text, "%04lx", *mask);
  return text;
}

std::optional<std::string> Espc(std::string_view v) {
  if (v.size() != 2) return std::nullopt;
  auto value = InRange(v, 0, 0xFF, 16);
  if (!value) return std::nullopt;
  char text[4];
  std::snprintf(text, sizeof text, "%02lX", *value);
  return text;
}

std::optional<std::string> Pair(std::string_view v, Rule first, Rule second) {
  auto p = Split(v, 2);
  if (p.size() != 2) return std::nullopt;
  auto a = first(p[0]), b = second(p[1]);
  if (!a || !b) return std::nullopt;
  return *a + "," + *b;
}

std::optional<std::string> Uart(std::string_view v) {
  auto p = Split(v, 4);
  if (p.size() != 4) return std::nullopt;
  auto baud = Number(p[0]);
  static constexpr long kRates[] = {115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200};
  if (!baud || std::find(std::begin(kRates), std::end(kRates), *baud) == std::end(kRates)) return std::nullopt;
  auto data = InRange(p[1], 0, 1), stop = InRange(p[2], 0, 2), parity = InRange(p[3], 0, 2);
  if (!data || !stop || !parity) return std::nullopt;
  return Decimal(*baud) + "," + Decimal(*data) + "," + Decimal(*stop) + "," + Decimal(*parity);
}

std::optional<std::string> Webs(std::string_view v) {
  if (v == "0") return "0";
  return Pair(v, Range(1, 1), Range(1, 65535));
}

std::optional<std::string> Pass(std::string_view v) {
  if (!QuotedText(v, 6, 6)) return std::nullopt;
  return std::string(v);
}

struct ParameterRule {
  std::string_view mnemonic;
  std::string_view factory;
  Rule check;
};

const std::vector<ParameterRule>& Rules() {
  static const std::vector<ParameterRule> rules = {
      {"SSID", "\"KitNet\"", Ssid},
      {"ENCRY", "0", Range(0, 7)},
      {"KEY", "0,1,\"\"", Key},
      {"NIP", "0", Nip},
      {"ATM", "0", Range(0, 1)},
      {"ATRM", "0,0,\"127.0.0.1\",8899", Atrm},
      {"BSSID", "0", Bssid},
      {"CHL", "0", Chl},
      {"CHLL", "3fff", Chll},
      {"WPRT", "0", Range(0, 1)},
      {"WATC", "0", Range(0, 1)},
      {"WBGR", "0,11", [](std::string_view v) { return Pair(v, Range(0, 1), Range(0, 11)); }},
      {"UART", "115200,0,0,0", Uart},
      {"ATPT", "100", Range(100, 10000)},
      {"ATLT", "512", Range(64, 1024)},
      {"ESPC", "2B", Espc},
      {"ESPT", "300", Range(100, 10000)},
      {"WEBS", "1,80", Webs},
      {"IOM", "0", Range(0, 2)},
      {"CMDM", "0", Range(0, 1)},
      {"WARM", "0", Range(0, 1)},
      {"WARC", "5", Range(0, 255)},
      {"PASS", "\"000000\"", Pass},
  };
  return rules;
}

const ParameterRule* FindRule(std::string_view mnemonic) {
  for (const ParameterRule& rule : Rules())
    if (rule.mnemonic == mnemonic) return &rule;
  return nullptr;
}

}  // namespace

ParameterValues FactoryParameters() {
  ParameterValues values;
  for (const ParameterRule& rule : Rules()) values.emplace(std::string(rule.mnemonic), std::string(rule.factory));
  return values;
}

bool IsParameterMnemonic(std::string_view mnemonic) { return FindRule(mnemonic) != nullptr; }

std::optional<std::string> CheckParameter(std::string_view mnemonic, std::string_view value) {
  const ParameterRule* rule = FindRule(mnemonic);
  if (rule == nullptr) return std::nullopt;
  return rule->check(value);
}

}  // namespace kitsim
