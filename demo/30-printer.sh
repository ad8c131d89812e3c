#!/usr/bin/env bash
# J57 demo on the virtual receipt printer: the three sample receipts go to a parallel
# printer (a FIFO), a barcode test and a text go to a serial printer (a
# pseudo-terminal); each printer renders what it receives as PNG files.
set -euo pipefail
BIN=${KIT_BIN:?run through ./run demo}
RUNTIME=${KIT_RUNTIME_DIR:?run through ./run demo}
OUT="$RUNTIME/j57-receipts"
mkdir -p "$OUT"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# Starts a virtual printer; sets $printer_path to the device it serves.
start_printer() {
  local log=$1; shift
  "$BIN/kit-sim" printer "$@" --out "$OUT" >"$log" 2>"$log.err" &
  pids+=($!)
  for _ in $(seq 1 100); do
    [[ -s "$log" ]] && break
    sleep 0.1
  done
  printer_path=$(head -n 1 "$log")
  [[ -n "$printer_path" ]] || { echo "the virtual printer did not start:" >&2; cat "$log.err" >&2; exit 1; }
}

wait_for_printer() {
  local pid=$1 i
  for i in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return; }
    sleep 0.1
  done
  echo "the virtual printer did not finish in time" >&2
  exit 1
}

echo "== J57 demo: parallel printer on a FIFO (route lpt1)"
start_printer "$RUNTIME/printer-lpt1.log" --fifo "$RUNTIME/j57-lpt1.fifo" --receipts 3
echo "   printer listens on $printer_path"
for receipt in menu checks shopping; do
  "$BIN/j57-print" --route lpt1 --device "$printer_path" "$receipt"
done
wait_for_printer "${pids[0]}"

echo "== J57 demo: serial printer on a pseudo-terminal (route serial)"
start_printer "$RUNTIME/printer-com.log" --serial --receipts 1
echo "   printer listens on $printer_path"
"$BIN/j57-print" --route serial --device "$printer_path" --baud 19200 barcode CODE128 normal
printf 'Manual test line\r\n' >"$RUNTIME/j57-text.txt"
"$BIN/j57-print" --route serial --device "$printer_path" --baud 19200 text "$RUNTIME/j57-text.txt" --times 2
wait_for_printer "${pids[1]}"

echo "== J57 demo: receipts rendered by the virtual printers"
ls -l "$OUT"/*.png | awk '{print "   " $NF " (" $5 " bytes)"}'
count=$(ls "$OUT"/*.png | wc -l)
[[ $count -eq 4 ]] || { echo "expected 4 receipts, found $count" >&2; exit 1; }
