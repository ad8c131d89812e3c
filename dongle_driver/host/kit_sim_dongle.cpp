// kit-sim-dongle: the driver host with a virtual dongle and virtual modules.
// "kit-sim dongle 6:2,11:1" places two modules on channel 6 and one on 11;
// every other argument goes to kirva_udxd as it is.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments = {"kirva_udxd"};
    bool simulated = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::cout << "kit-sim dongle [PLAN] [kirva_udxd options]\n"
                         "  PLAN  CHANNEL[:COUNT],...  virtual modules on radio channels (default \"1:1\")\n"
                         "Starts kirva_udxd --simulate PLAN; see kirva_udxd --help.\n";
            return 0;
        }
        if (!simulated && !argument.empty() && argument[0] != '-') {
            arguments.push_back("--simulate");
            simulated = true;
        }
        if (argument == "--simulate") simulated = true;
        arguments.push_back(argument);
    }
    if (!simulated) {
        arguments.push_back("--simulate");
        arguments.push_back("1:1");
    }
    // The host sits next to this program.
    std::string self = argv[0];
    const auto slash = self.rfind('/');
    const std::string host = (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "kirva_udxd";
    std::vector<char*> raw;
    for (auto& argument : arguments) raw.push_back(argument.data());
    raw.push_back(nullptr);
    ::execv(host.c_str(), raw.data());
    std::cerr << "kit-sim-dongle: cannot start " << host << ": " << std::strerror(errno) << "\n";
    return 1;
}
