#!/usr/bin/env bash
# The printer driver installer's wizard, driven by a script as a user would
# click through it, on a fresh Simplified Chinese machine: the first run
# writes the language files and speaks English, the second speaks Chinese.
set -euo pipefail
BIN=${KIT_BIN:-build/default/bin}
RUNTIME=${KIT_RUNTIME_DIR:-$(mktemp -d /tmp/kit-run.XXXXXX)}
ROOT="$RUNTIME/setup-wizard-winroot"
APP="$RUNTIME/setup-wizard-app"
rm -rf "$ROOT" "$APP"
mkdir -p "$APP"

"$BIN/winenv" --root "$ROOT" init --version 6.1 --langid 0x0804 --printer "Office Laser=LPT2:" >/dev/null
cat > "$APP/install.txt" <<'SCRIPT'
show 1042          # the welcome page's title
click 12324        # Next
show 1074          # Windows 7, detected
click 1038         # English printer files and message
click 12324        # Next
select 1006 0      # the series
show 1019
click 12324        # Next: the progress page installs after 500 ms
wait 1500
SCRIPT

echo "== first run: the language files are written, the wizard speaks English"
"$BIN/setup" --root "$ROOT" --app-dir "$APP" --drive "$APP/install.txt"
ls "$APP" "$APP/Language"

echo "== second run over the installed machine: the wizard speaks Chinese"
"$BIN/setup" --root "$ROOT" --app-dir "$APP" --drive "$APP/install.txt"
"$BIN/winenv" --root "$ROOT" default-printer

echo "== a user who cancels on the printer series page (exit code 1, nothing changes)"
printf 'click 12324\nclick 12324\nclick 1061\n' > "$APP/cancel.txt"
if "$BIN/setup" --root "$ROOT" --app-dir "$APP" --drive "$APP/cancel.txt"; then
  echo "unexpected: exit code 0" >&2
  exit 1
fi
echo "(exit code 1, as expected)"
