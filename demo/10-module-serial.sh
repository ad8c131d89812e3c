#!/usr/bin/env bash
# A virtual serial-to-WiFi module on a pseudo-terminal, configured with tarnwave-cli:
# read its parameters, change the SSID with set-and-save, read it back.
set -euo pipefail
: "${KIT_BIN:?KIT_BIN must name the folder of the kit programs}"
export KIT_RUNTIME_DIR=${KIT_RUNTIME_DIR:-$(mktemp -d /tmp/kit-run.XXXXXX)}

ports=$(mktemp)
"$KIT_BIN/kit-sim" modules --count 1 >"$ports" &
sim=$!
cleanup() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  rm -f "$ports"
}
trap cleanup EXIT

# The simulator prints its port path as soon as it serves.
for _ in $(seq 50); do
  [[ -s "$ports" ]] && break
  sleep 0.1
done
port=$(head -n 1 "$ports")
[[ -n "$port" ]] || { echo "demo: the virtual module did not start" >&2; exit 1; }

echo "== virtual module on $port; the port list shows it:"
"$KIT_BIN/tarnwave-cli" ports
echo "== tarnwave-cli --port $port info"
"$KIT_BIN/tarnwave-cli" --port "$port" info
echo "== tarnwave-cli --port $port get Ssid Encry DhcpEn BaudRate ChList Escape"
"$KIT_BIN/tarnwave-cli" --port "$port" get Ssid Encry DhcpEn BaudRate ChList Escape
echo "== tarnwave-cli --port $port set --save Ssid=DemoShop"
"$KIT_BIN/tarnwave-cli" --port "$port" set --save Ssid=DemoShop
echo "== tarnwave-cli --port $port reset (saved values stay)"
"$KIT_BIN/tarnwave-cli" --port "$port" reset
sleep 0.2
echo "== tarnwave-cli --port $port get --json Ssid"
"$KIT_BIN/tarnwave-cli" --port "$port" get --json Ssid
