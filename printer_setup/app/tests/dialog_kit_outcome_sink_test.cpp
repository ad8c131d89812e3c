#include "printer_setup/app/dialog_kit_outcome_sink.h"

#include <gtest/gtest.h>

#include "platform/ui/headless/headless_host.h"

namespace kit::setup {
namespace {

constexpr int kEndedByQuit = 42;

// A frame that ends its modal run when the quit request reaches it.
class Frame : public ui::Dialog {
public:
    explicit Frame(ui::Host& host) : ui::Dialog(host, ui::DialogTemplate{102, "", 200, 100, {}, {}, 0, ""}) {}
    const ui::MessageMap* messageMap() const override {
        static const ui::MessageMap map =
            ui::MessageMapBuilder<Frame>().onMessage(DialogKitOutcomeSink::kQuitMessage, &Frame::OnQuit).build();
        return &map;
    }
    std::intptr_t OnQuit(std::uintptr_t, std::intptr_t) {
        endDialog(kEndedByQuit);
        return 0;
    }
};

TEST(DialogKitOutcomeSink, ShowsTheBoxThenEndsTheWizard) {
    ui::HeadlessHost host;
    host.onModal(102, [](ui::ModalScript& s) {
        DialogKitOutcomeSink sink(s.dialog);
        sink.showMessage("setup", "打印机驱动程序安装成功!", MessageIcon::Information);
        EXPECT_FALSE(s.dialog.isEnded());  // the request is queued, not handled at once
        sink.postQuit();
    });
    Frame frame(host);
    EXPECT_EQ(frame.runModal(), kEndedByQuit);
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(host.boxes()[0].request.title, "setup");
    EXPECT_EQ(host.boxes()[0].request.text, "打印机驱动程序安装成功!");
    EXPECT_EQ(host.boxes()[0].request.buttons, ui::BoxButtons::Ok);
    EXPECT_EQ(host.boxes()[0].request.icon, ui::BoxIcon::Information);
}

}  // namespace
}  // namespace kit::setup
