#pragma once
// CSeriesSet: the serial settings of the main window (baud rate and the indexes of data
// bits, parity and stop bits). The caller copies the four values in, runs the dialog,
// and on result 1 takes them back.
#include "platform/ui/dialog.h"

namespace tarnwave {

class CSeriesSet : public kit::ui::Dialog {
 public:
  explicit CSeriesSet(kit::ui::Host& host, kit::ui::Dialog* owner = nullptr);
  static kit::ui::DialogTemplate Template();

  int m_baudRate = 115200;
  int m_dataBitIndex = 0;  // 0 "8", 1 "7"
  int m_parityIndex = 0;   // 0 "None", 1 "Odd", 2 "Even"
  int m_stopBitIndex = 0;  // 0 "1", 1 "2"

  bool OnInitDialog() override;
  void OnOK() override;
};

}  // namespace tarnwave
