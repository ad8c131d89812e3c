#!/usr/bin/env bash
# The radio dongle end to end: the driver host with a virtual dongle and
# virtual modules on two channels, a radio search that lists them, a module
# read over the air, and the dongle pulled out while a link is open.
set -euo pipefail
: "${KIT_BIN:?run through ./run demo}"
export KIT_RUNTIME_DIR=${KIT_RUNTIME_DIR:-$(mktemp -d /tmp/kit-run.XXXXXX)}
mkdir -p "$KIT_RUNTIME_DIR"
log="$KIT_RUNTIME_DIR/kirva_udxd.log"
socket="$KIT_RUNTIME_DIR/MERVO_QTM31RB07_TEST.sock"

# A driver host left running in this folder (the quick start of the docs starts one)
# would answer in place of ours, and its trace is not the one shown below.
pidfile="$KIT_RUNTIME_DIR/kirva_udxd.pid"
if [[ -f "$pidfile" ]] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
  echo "20-dongle: a driver host (pid $(cat "$pidfile")) already serves $KIT_RUNTIME_DIR; stop it or use another KIT_RUNTIME_DIR" >&2
  exit 1
fi
rm -f "$log"

"$KIT_BIN/kit-sim" dongle "6:2,11:1" --log "$log" --trace "$KIT_RUNTIME_DIR/usb-transfers.txt" \
  > "$KIT_RUNTIME_DIR/kirva_udxd.out" 2>&1 &
host=$!
cleanup() { kill -TERM "$host" 2>/dev/null || true; wait "$host" 2>/dev/null || true; }
trap cleanup EXIT

# Ready when our host says it serves (a socket file alone may be a stale one).
serving() { grep -q "^serving " "$KIT_RUNTIME_DIR/kirva_udxd.out" 2>/dev/null && [[ -S "$socket" ]]; }
for _ in $(seq 100); do serving && break; kill -0 "$host" 2>/dev/null || break; sleep 0.1; done
serving || { echo "20-dongle: the driver host did not come up" >&2; cat "$KIT_RUNTIME_DIR/kirva_udxd.out" >&2; exit 1; }

echo "== modules placed by the driver host"
cat "$KIT_RUNTIME_DIR/kirva_udxd.out"

echo "== tarnwave-cli --dongle radio-search"
"$KIT_BIN/tarnwave-cli" --dongle radio-search

echo "== tarnwave-cli --dongle --channel 6 --module 001EC0060002 info"
"$KIT_BIN/tarnwave-cli" --dongle --channel 6 --module 001EC0060002 info

echo "== tarnwave-cli --dongle --channel 11 --module 001EC00B0001 get Ssid IpAddr"
"$KIT_BIN/tarnwave-cli" --dongle --channel 11 --module 001EC00B0001 get Ssid IpAddr

echo "== the driver's trace (last lines of $(wc -l < "$log"))"
[[ -s "$log" ]] || { echo "20-dongle: the driver host wrote no trace to $log" >&2; exit 1; }
tail -n 6 "$log"
echo "== USB transfers logged: $(wc -l < "$KIT_RUNTIME_DIR/usb-transfers.txt")"

echo "== pull the dongle out, then search again"
"$KIT_BIN/kirva_udxd" --unplug
sleep 0.3
if "$KIT_BIN/tarnwave-cli" --dongle radio-search --channel 6; then
  echo "20-dongle: a search without dongle should fail" >&2; exit 1
fi
"$KIT_BIN/kirva_udxd" --replug
for _ in $(seq 50); do grep -c "dongle started" "$KIT_RUNTIME_DIR/kirva_udxd.out" | grep -q 2 && break; sleep 0.1; done
echo "== plugged in again"
"$KIT_BIN/tarnwave-cli" --dongle radio-search --channel 6
