#!/usr/bin/env bash
# The .deb as a user gets it: lintian finds no error; unpacked into a temporary root, its desktop
# file validates, and its program starts under Xvfb, loads the webview library and its icon from
# that root, and ends with exit code 0 on SIGTERM.
#   package_test.sh DEB
set -uo pipefail
deb=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0
check() {  # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

check "lintian reports no error" lintian --fail-on error --suppress-tags initial-upload-closes-no-bugs "$deb"

root=$work/root
dpkg-deb -x "$deb" "$root"
check "desktop file validates" desktop-file-validate "$root/usr/share/applications/plugin-generator.desktop"
check "icons in the hicolor theme" test -s "$root/usr/share/icons/hicolor/256x256/apps/plugin-generator.png"

home=$work/home
mkdir -p "$home/Documents" "$home/run"
chmod 700 "$home/run"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
  XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  "'"$root"'/usr/bin/plugin-generator" 2>/dev/null &
  app=$!
  title="Kestrolan Web PlugIn Generator"
  for _ in $(seq 100); do xprop -name "$title" WM_NAME >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  grep -q "'"$root"'/usr/lib/plugin-generator/libwebview.so.0.12" /proc/$app/maps \
    && echo "ok: the webview library loaded from the package" || { echo "FAILED: webview library"; exit 1; }
  xprop -name "$title" _NET_WM_ICON | grep -q "Icon (" \
    && echo "ok: the window shows our icon" || { echo "FAILED: window icon"; exit 1; }
  kill -TERM $app
  wait $app
  code=$?
  [ $code = 0 ] && echo "ok: exit code 0 on SIGTERM" || { echo "FAILED: exit code $code"; exit 1; }
' || failures=$((failures + 1))

[ $failures = 0 ] && echo "done: package test passed" || echo "done: $failures failed"
[ $failures = 0 ]
