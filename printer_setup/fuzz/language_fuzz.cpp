// The installer's own files as a user may leave them: "setting.dll" and a language file
// with any bytes. Start-up reads them, and the texts are applied to a dialog in the
// code page of the machine's language.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "platform/ui/dialog.h"
#include "platform/ui/headless/headless_host.h"
#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/setup_start.h"

namespace {

const std::filesystem::path& AppDir() {
  static const std::filesystem::path dir = [] {
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = tmp ? tmp : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    std::filesystem::path made = folder + "/language_fuzz." + std::to_string(getpid());
    std::filesystem::create_directories(made / "Language");
    return made;
  }();
  return dir;
}

void Put(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

kit::ui::DialogTemplate SampleDialog() {
  kit::ui::DialogTemplate t;
  t.id = 138;
  t.caption = "Welcome";
  t.width = 200;
  t.height = 100;
  t.controls = {kit::ui::Label(1000, "first", {5, 5, 100, 10}), kit::ui::Label(1019, "never", {5, 20, 100, 10}),
                kit::ui::Button(12324, "Next", {5, 40, 50, 14}), kit::ui::EditBox(1006, {5, 60, 100, 12})};
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const std::uint16_t kLanguages[] = {0x0409, 0x0804, 0x0404, 0x0411};
  const std::uint16_t languageId = kLanguages[data[0] % 4];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\0');
  const std::string_view setting = rest.substr(0, split);
  const std::string_view language = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

  const auto& dir = AppDir();
  Put(dir / "setting.dll", setting);
  for (const char* name : {"Multi_eng.dll", "Multi_ch.dll", "Multi_ch_BIG5.dll"}) Put(dir / "Language" / name, language);

  kit::setup::SetupStart start(dir, languageId);
  kit::setup::InstallerValues values;
  start.InitInstance(values);
  if (values.g_ModelName.size() > 259) std::abort();

  kit::ui::HeadlessHost host;
  kit::ui::Dialog dialog(host, SampleDialog());
  dialog.beginWindow(nullptr, false);
  kit::setup::g_SetDialogStrings({start.g_LanguageFile(), languageId}, dialog, 138);
  if (dialog.text(1019) != "never") std::abort();  // the text box never takes a text
  for (int id : {1000, 12324}) {
    if (dialog.text(id).size() > 4 * kit::setup::kMaxDialogStringLength) std::abort();
  }
  (void)kit::setup::LanguageTextToUtf8(language, languageId);
  return 0;
}
