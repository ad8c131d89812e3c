#pragma once

#include <functional>

#include "printer_setup/app/dialog_strings.h"
#include "printer_setup/app/new_wiz_page.h"

namespace kit::setup {

// The progress page (140): when it is shown and the frame has not installed
// yet, a 500 ms timer starts; when it fires, the page runs the installation
// under the wait cursor with the progress bar at 50, then sets it to 100 and
// marks the frame installed. The installation ends with the outcome message
// and asks the frame to close.
//
// The timer belongs to the page: going Back before it fires only hides the
// page, and the installation still runs.
class CopyDlg : public NewWizPage {
public:
    static constexpr int kTimerPeriodMs = 500;

    // `installDriver` runs the installation (blocking).
    CopyDlg(ui::Host& host, const DialogStrings& strings, std::function<void()> installDriver);
    [[nodiscard]] static ui::DialogTemplate Template();

    bool OnInitDialog() override;
    void OnShowWindow(bool show) override;
    const ui::MessageMap* messageMap() const override;

private:
    void OnTimer();

    const DialogStrings& m_strings;
    std::function<void()> m_installDriver;
};

}  // namespace kit::setup
