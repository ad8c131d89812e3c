#include "config_tool/cli/search_command.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/module_search.h"
#include "config_tool/protocol/module_link.h"
#include "platform/ui/note_sink.h"

namespace tarnwave::cli {
namespace {

// The link's own notes (the dongle was pulled out) go to standard error.
class ErrorStreamNotes : public kit::ui::NoteSink {
 public:
  explicit ErrorStreamNotes(std::ostream& err) : m_err(err) {}
  void showNote(std::string text) override { m_err << text << std::endl; }

 private:
  std::ostream& m_err;
};

// -1 close, 0 auto, 1 to 14; nullopt for anything else.
std::optional<int> ChannelChoice(const std::string& text) {
  if (text == "close") return -1;
  if (text == "auto") return 0;
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int channel = std::stoi(text);
  if (channel < 1 || channel > 14) return std::nullopt;
  return channel;
}

}  // namespace

void AddSearchCommand(CLI::App& app, SearchOptions& options) {
  CLI::App* search = app.add_subcommand(
      "search", "Search for modules on serial ports and over the radio dongle, as the main window's Search does");
  search->add_option("--ports", options.ports, "auto (every serial port), close (none) or the port paths")
      ->expected(1, -1);
  search->add_option("--channel", options.channel, "auto (channels 1 to 14), one channel 1 to 14, or close (none)");
  search->add_flag("--json", options.json, "Print one JSON array of rows");
}

int SearchModules(const LinkOptions& link, const SearchOptions& options, Output io) {
  const auto channel = ChannelChoice(options.channel);
  if (!channel) {
    io.err << "search: --channel must be auto, close or 1 to 14\n";
    return kExitUsage;
  }
  SearchRequest request;
  request.settings = link.serialSettings();
  request.channelChoice = *channel;
  if (options.ports == std::vector<std::string>{"close"}) {
    request.portChoice = 0;
  } else if (options.ports == std::vector<std::string>{"auto"}) {
    (void)SerialPort::EnumeratePorts(request.portList);
  } else {
    for (const auto& port : options.ports) {
      if (port.empty() || port.find(';') != std::string::npos) {
        io.err << "search: a port path must not be empty or hold ';'\n";
        return kExitUsage;
      }
      request.portList += port + ";";
    }
  }
  kirva::WirelessPassword password{};
  std::copy(link.password.begin(), link.password.end(), password.begin());
  SetWirelessPassword(password);

  ModuleLink moduleLink;
  SleepingListener listener;
  ErrorStreamNotes notes(io.err);
  ModuleSearch search(moduleLink, listener, &notes);
  const SearchResult result = search.search(request);
  search.shutDown();

  if (result.outcome == SearchOutcome::NoChoice) {
    io.err << kNoSearchChosenText << "\n";
    return kExitUsage;
  }
  if (result.outcome == SearchOutcome::NothingFound) {
    io.err << kNothingFoundText << "\n";
    return kExitModuleError;
  }
  if (options.json) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& row : search.rows()) rows.push_back({{"No.", row.number}, {"Port", row.port}, {"Device ID", row.deviceId}});
    io.out << rows.dump() << "\n";
  } else {
    io.out << "No.\tPort\tDevice ID\n";
    for (const auto& row : search.rows()) io.out << row.number << "\t" << row.port << "\t" << row.deviceId << "\n";
  }
  return kExitOk;
}

}  // namespace tarnwave::cli
