// A machine root holds links only when someone planted them: nothing the
// substitutes do may follow one out of the root.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <functional>

#include "printer_setup/winenv/registry.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/tests/temp_machine.h"
#include "printer_setup/winenv/win_files.h"
#include "platform/test_support/file_contents.h"

namespace kit::winenv {
namespace {

namespace fs = std::filesystem;

// A folder outside the root with one file the planted link must not reach.
class Outside {
public:
    Outside() {
        std::string pattern = (fs::temp_directory_path() / "outside.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_folder = pattern;
        for (const char* name : {"victim", "oem7.inf", "oem7.pnf", "J57.INF"}) {
            std::ofstream(m_folder / name) << "Class=Printer\n[Manufacturer]\nJ57\n";
        }
    }
    ~Outside() {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    [[nodiscard]] const fs::path& folder() const { return m_folder; }
    // Every file is there with its first content, and nothing was added.
    [[nodiscard]] bool untouched() const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            ++count;
            if (test_support::ReadFileBytes(entry.path()) != "Class=Printer\n[Manufacturer]\nJ57\n") return false;
        }
        return count == 4;
    }

private:
    fs::path m_folder;
};

TEST(LinksBelowRoot, NoOperationReachesWhatAPlantedLinkPointsTo) {
    const std::string driverDirectory = Spooler::kDriverDirectory;
    struct Case {
        const char* link;    // below the root
        const char* target;  // below the outside folder ("" for the folder itself)
        std::function<bool(const MachineRoot&)> act;  // true when the operation succeeded
    };
    const Case cases[] = {
        {"C/WINDOWS/inf", "",
         [](const MachineRoot& r) {
             WinFiles f(r);
             return Succeeded(f.deleteFile("C:\\WINDOWS\\inf\\oem7.inf")) ||
                    Succeeded(f.deleteFile("C:\\WINDOWS\\inf\\oem7.pnf")) || f.readFile("C:\\WINDOWS\\inf\\oem7.inf");
         }},
        {"C/WINDOWS/system32/spool/drivers/w32x86", "",
         [&](const MachineRoot& r) {
             WinFiles f(r);
             (void)f.createDirectory("C:\\TEMP");
             (void)f.writeFile("C:\\TEMP\\J57.INF", "new");
             return Succeeded(f.copyFile("C:\\TEMP\\J57.INF", driverDirectory + "\\J57.INF", false)) ||
                    Succeeded(f.writeFile(driverDirectory + "\\victim", "new")) ||
                    Succeeded(f.createDirectory(driverDirectory + "\\3\\x"));
         }},
        {"C/LEAK", "", [](const MachineRoot& r) { return WinFiles(r).list("C:\\LEAK").has_value(); }},
        // A link at the file itself is replaced, never written through.
        {"C/TEMP/J57.INF", "J57.INF",
         [](const MachineRoot& r) {
             WinFiles f(r);
             (void)f.writeFile("C:\\TEMP\\J57.INF", "new");
             return f.readFile("C:\\TEMP\\J57.INF") != "new";  // fails the case unless the link was replaced
         }},
        {"registry.json.tmp", "victim",
         [](const MachineRoot& r) { return !Succeeded(Registry(r).createKey("SOFTWARE\\x")); }},
        {"spooler.json.tmp", "victim",
         [](const MachineRoot& r) { return !Succeeded(Spooler(r).addPrinter({"P", "LPT1:", "d"})); }},
        {"registry.json", "victim",
         [](const MachineRoot& r) { return Succeeded(Registry(r).createKey("SOFTWARE\\x")); }},
        {"spooler.json.lock", "victim",
         [](const MachineRoot& r) { return Succeeded(Spooler(r).addPrinter({"P", "LPT1:", "d"})); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        testing::TempMachine machine;
        Outside outside;
        MachineRoot root(machine.folder());
        (void)fs::create_directories(machine.folder() / "C" / "TEMP");
        std::error_code ec;
        fs::remove_all(machine.folder() / c.link, ec);
        fs::create_symlink(outside.folder() / c.target, machine.folder() / c.link);
        EXPECT_FALSE(c.act(root));
        EXPECT_TRUE(outside.untouched());
    }
}

TEST(LinksBelowRoot, LinksInsideTheRootAreRefusedToo) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    WinFiles files(root);
    ASSERT_EQ(files.createDirectory("C:\\TEMP"), WinStatus::Ok);
    ASSERT_EQ(files.writeFile("C:\\TEMP\\a.txt", "a"), WinStatus::Ok);
    fs::create_directory_symlink(machine.folder() / "C" / "TEMP", machine.folder() / "C" / "ALIAS");
    EXPECT_FALSE(files.readFile("C:\\ALIAS\\a.txt"));
    EXPECT_NE(files.deleteFile("C:\\ALIAS\\a.txt"), WinStatus::Ok);
    // The link itself can go, as a file would.
    EXPECT_EQ(files.deleteFile("C:\\ALIAS"), WinStatus::Ok);
    EXPECT_EQ(files.readFile("C:\\TEMP\\a.txt"), "a");
}

}  // namespace
}  // namespace kit::winenv
