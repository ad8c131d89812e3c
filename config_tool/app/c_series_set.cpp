#include "config_tool/app/c_series_set.h"

#include <string>

#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

namespace {
constexpr int kFallbackBaudRate = 115200;

// A box without a selection gives its first entry: the indexes are used as table
// indexes by the serial link and must never be -1.
int IndexOrFirst(int index) { return index < 0 ? 0 : index; }
}  // namespace

CSeriesSet::CSeriesSet(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CSeriesSet::Template() {
  DialogTemplate t;
  t.id = IDD_SERIES_SET;
  t.caption = "Serial Setting";
  t.width = 160;
  t.height = 110;
  t.controls = {
      Label(kNoId, "Baud Rate:", {12, 14, 50, 10}),
      DropDownList(IDC_SERIES_BAUD, {70, 12, 76, 90}, {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200"}),
      Label(kNoId, "Data Bit:", {12, 32, 50, 10}),
      DropDownList(IDC_SERIES_DATA_BIT, {70, 30, 76, 40}, {"8", "7"}),
      Label(kNoId, "Parity Bit:", {12, 50, 50, 10}),
      DropDownList(IDC_SERIES_PARITY, {70, 48, 76, 50}, {"None", "Odd", "Even"}),
      Label(kNoId, "Stop Bit:", {12, 68, 50, 10}),
      DropDownList(IDC_SERIES_STOP_BIT, {70, 66, 76, 40}, {"1", "2"}),
      Button(IDOK, "OK", {22, 88, 50, 14}, kDefaultButton),
      Button(IDCANCEL, "Cancel", {88, 88, 50, 14}),
  };
  return t;
}

bool CSeriesSet::OnInitDialog() {
  const int baud = findItemExact(IDC_SERIES_BAUD, std::to_string(m_baudRate));
  setSelection(IDC_SERIES_BAUD, baud < 0 ? 0 : baud);
  setSelection(IDC_SERIES_DATA_BIT, m_dataBitIndex);
  setSelection(IDC_SERIES_PARITY, m_parityIndex);
  setSelection(IDC_SERIES_STOP_BIT, m_stopBitIndex);
  return true;
}

void CSeriesSet::OnOK() {
  const int baud = selection(IDC_SERIES_BAUD);
  m_baudRate = baud < 0 ? kFallbackBaudRate : std::stoi(itemText(IDC_SERIES_BAUD, baud));
  m_dataBitIndex = IndexOrFirst(selection(IDC_SERIES_DATA_BIT));
  m_parityIndex = IndexOrFirst(selection(IDC_SERIES_PARITY));
  m_stopBitIndex = IndexOrFirst(selection(IDC_SERIES_STOP_BIT));
  endDialog(IDOK);
}

}  // namespace tarnwave
