#pragma once
// What the pages of Tarnwave's main window (dialog 102) ask of it besides the ModuleLink
// (which a page gets by sending WM_GET_MODULE_LINK, 1025, to the main window: the result
// is the ModuleLink* as an integer). The main window implements this interface and hands
// it to each page when it builds its page area; a page keeps the reference, not owning it.
// Everything here runs on the window thread.
namespace tarnwave {

class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;

  // A page tells the main window that it became the current page (0 configuration,
  // 2 firmware update, 3 system information); WM_SHOW_PAGE with a first argument other
  // than 2 shows that page again.
  virtual void ReportPage(int index) = 0;

  // The device list: number of rows, and the row of the module the link talks to
  // (-1 when none).
  virtual int DeviceCount() const = 0;
  virtual int CurrentRow() const = 0;
  // Switches the link to the module of `row` without asking (the configuration page's
  // "Modify All"); 0 on success, otherwise a module result code.
  virtual int SwitchToRow(int row) = 0;
  // Runs the main window's search (as its "Search" button does).
  virtual void Search() = 0;
  // The "Modify All" check box (1088).
  virtual bool ModifyAllChecked() const = 0;

  // Locks (disables) or unlocks the connection controls, and disables or enables the
  // window's close command; the firmware page uses both during an update.
  virtual void LockControls(bool lock) = 0;
  virtual void EnableCloseCommand(bool enable) = 0;

  // user.ini [Manufacturer] "Fw Down": non-zero offers the load-programme update.
  virtual int FirmwareDownloadFlag() const = 0;

  // Which links the last search left open.
  virtual bool SerialLinkOpen() const = 0;
  virtual bool DongleLinkOpen() const = 0;
};

}  // namespace tarnwave
