#include "printer_setup/app/picture_files.h"

#include <filesystem>
#include <system_error>

namespace kit::setup {

std::string PictureFile(std::string_view name) {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto beside = program.parent_path() / "setup-pictures" / name;
        if (std::filesystem::is_regular_file(beside, ec)) return beside.string();
    }
    const auto source = std::filesystem::path(KIT_SETUP_PICTURES_SOURCE) / name;
    if (std::filesystem::is_regular_file(source, ec)) return source.string();
    return std::string(name);
}

}  // namespace kit::setup
