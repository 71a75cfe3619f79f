#!/usr/bin/env bash
# Makes the one Wine prefix the project uses (build/wineprefix), once: no Mono or Gecko
# prompts, Japanese font links so that Japanese text renders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$WINEPREFIX/.quillon-ready"
[ -f "$stamp" ] && exit 0

mkdir -p "$root/build"
rm -rf "$WINEPREFIX"
echo "setup: making the Wine prefix in $WINEPREFIX"
wineboot --init >/dev/null 2>&1 || wine64 wineboot --init >/dev/null 2>&1
wineserver -w

reg=$(mktemp --suffix=.reg)
link='"Tahoma"=hex(7):'
python3 - "$reg" <<'PY'
import sys
value = "NotoSansCJK-Regular.ttc,Noto Sans CJK JP\0\0"
hexs = ",".join("%02x" % b for b in value.encode("utf-16-le"))
faces = ["Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Segoe UI"]
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]"]
lines += ['"%s"=hex(7):%s' % (f, hexs) for f in faces]
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\WineDbg]", '"ShowCrashDialog"=dword:00000000', ""]
open(sys.argv[1], "w", encoding="utf-16").write("\r\n".join(lines))
PY
wine regedit /S "$reg" >/dev/null 2>&1 || wine64 regedit /S "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
touch "$stamp"
