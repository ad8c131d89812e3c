// Every registered dialog draws to a PNG, and the program refuses bad requests cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "gallery/gallery_registry.h"
#include "gallery/gallery_renderer.h"
#include "platform/ui/property_page.h"

namespace kit::gallery {
namespace {

TEST(GalleryTest, EveryDialogRendersToAPngOfItsSize) {
  kit::ui::QtHost host;
  const auto registry = AllDialogs();
  ASSERT_FALSE(registry.entries().empty());
  std::set<std::string> names;
  const auto folder = std::filesystem::temp_directory_path() / "kit_gallery_test";
  std::filesystem::create_directories(folder);
  for (const auto& entry : registry.entries()) {
    EXPECT_TRUE(names.insert(entry.name).second) << "duplicate " << entry.name;
    const auto path = (folder / (entry.name + ".png")).string();
    std::string error;
    ASSERT_TRUE(RenderToPng(host, entry, path, error)) << entry.name << ": " << error;
    EXPECT_GT(std::filesystem::file_size(path), 500u) << entry.name;
  }
  std::filesystem::remove_all(folder);
}

TEST(GalleryTest, PagesAreDrawnInsideAFrameOfTheirSize) {
  kit::ui::QtHost host;
  GalleryRegistry registry;
  registry.add("page", "a page", [](kit::ui::Host& h) {
    kit::ui::DialogTemplate t;
    t.id = 138;
    t.width = 120;
    t.height = 60;
    t.controls = {kit::ui::Label(1042, "Welcome", {5, 5, 100, 10})};
    return std::make_unique<kit::ui::PropertyPage>(h, t);
  });
  const auto path = (std::filesystem::temp_directory_path() / "kit_gallery_page.png").string();
  std::string error;
  ASSERT_TRUE(RenderToPng(host, registry.entries().at(0), path, error)) << error;
  EXPECT_GT(std::filesystem::file_size(path), 200u);
  std::filesystem::remove(path);
}

TEST(GalleryProgramTest, BadRequestsFailWithAMessage) {
  // Test programs sit in <build>/tests, programs in <build>/bin.
  const auto build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
  const std::string gallery = "QT_QPA_PLATFORM=offscreen " + (build / "bin" / "kit-gallery").string();
  EXPECT_EQ(WEXITSTATUS(std::system((gallery + " --list > /dev/null").c_str())), 0);
  EXPECT_EQ(WEXITSTATUS(std::system((gallery + " no-such-dialog --out /tmp/x.png 2> /dev/null").c_str())), 2);
  EXPECT_EQ(WEXITSTATUS(std::system((gallery + " tarnwave-mess-note 2> /dev/null").c_str())), 2);
  EXPECT_EQ(WEXITSTATUS(std::system((gallery + " --no-such-option 2> /dev/null").c_str())), 2);
  EXPECT_EQ(WEXITSTATUS(std::system((gallery + " tarnwave-mess-note --out /no/such/dir/x.png 2> /dev/null").c_str())), 1);
}

TEST(GalleryProgramTest, StaysQuietWithoutARuntimeFolder) {
  // Qt complains about a missing XDG_RUNTIME_DIR; the program must not pass that on.
  const auto build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
  const auto folder = std::filesystem::temp_directory_path() / "kit_gallery_quiet";
  std::filesystem::create_directories(folder);
  const auto err = folder / "stderr.txt";
  // The leak checker of sanitizer builds would report its suppressions on stderr.
  const std::string command = "env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=print_suppressions=0 " +
                              (build / "bin" / "kit-gallery").string() + " j57-form2 --out " +
                              (folder / "form2.png").string() + " 2> " + err.string();
  EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
  EXPECT_GT(std::filesystem::file_size(folder / "form2.png"), 500u);
  EXPECT_EQ(std::filesystem::file_size(err), 0u);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kit::gallery
