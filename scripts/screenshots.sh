#!/usr/bin/env bash
# Saves a PNG of every page and dialog of setup.exe that can be reached so
# far into BUILD/screenshots/, driving the program with uidriver.exe on a
# virtual screen of its own.
#   screenshots.sh BUILD_DIR          (make screenshots [BUILD=...])
# A page that is not there yet is skipped with a message, and so is every
# page after it. To add a page, add a line to the table below.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-${BUILD:-$here/../build}}" 2>/dev/null && pwd)" || { echo "screenshots: no build folder" >&2; exit 1; }
exe="$build/win/setup.exe"
driver="$build/win/uidriver.exe"
for f in "$exe" "$driver"; do
  [ -f "$f" ] || { echo "screenshots: no $f: build first (make)" >&2; exit 1; }
done

# Resource ids (resources/resource.h).
IDOK=1; IDC_BROWSE=100; IDC_PATH=101; IDC_AGREEMENT_TEXT=199; IDC_GROUP_LIST=212; IDC_METER=214

# name | what the user does first (uidriver arguments; "-" for nothing) |
#        the window that then shows (uidriver query, or "msgbox") | flags
# Each row starts where the previous one left the program. A row that does
# not show ends the run, with every row after it, unless it is "optional".
# A "fast" row is caught by the driver itself the moment its window shows,
# in the same driver process as the step before it (the copy page may be
# gone again before another program could look).
table=(
  "agreement    | -                                                  | --has $IDC_AGREEMENT_TEXT"
  "destination  | key --has $IDC_AGREEMENT_TEXT enter                | --has $IDC_PATH --has $IDC_BROWSE --has-text $IDOK Next"
  "browse       | click --has-text $IDOK Next --control $IDC_BROWSE   | --caption 'Setup - directory' --not-box"
  "-            | click --caption 'Setup - directory' --control $IDOK | -"
  "copy         | key --no-settle --has-text $IDOK Next enter        | --has $IDC_METER --timeout 10 | optional fast"
  "group        | -                                                  | --has $IDC_BROWSE --has-text $IDOK Finish --timeout 60"
  "group-browser| click --has-text $IDOK Finish --control $IDC_BROWSE | --has $IDC_GROUP_LIST"
  "-            | click --has $IDC_GROUP_LIST --control $IDOK          | -"
  "success      | click --has-text $IDOK Finish --control $IDOK       | msgbox"
)

shots="$build/screenshots"
mkdir -p "$shots"
log="$shots/screenshots.log"
: >"$log"
export NORVU_PREFIX="$build/wine-shots"
. "$here/wine-env.sh"
# Where this machine runs no 32-bit code: all of this in the emulated
# machine, which writes the pictures into the build folder.
if norvu_wine_needs_machine; then
  "$here/emulated-machine.sh" start "$build" || exit 1
  trap '"$here/emulated-machine.sh" stop "$build"' EXIT
  "$here/emulated-machine.sh" run "$build" "$0" "$build"
  exit $?
fi
if ! why=$(norvu_wine_runs); then
  echo "screenshots: cannot start setup.exe: $why" >&2
  exit 1
fi
norvu_prefix_ready || exit 1
# A Wine desktop the size of the screen: Wine draws the captions itself.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >>"$log" 2>&1 </dev/null
# Every run starts as on a machine without Norvu.
rm -rf "$WINEPREFIX/drive_c/Program Files/Norvu" "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Norvu"
read -r display xpid < <(norvu_start_xvfb 1024x768x24) || exit 1
export DISPLAY="$display"
trap 'wineserver -k 2>/dev/null; kill "$xpid" 2>/dev/null' EXIT
setsid wineboot >>"$log" 2>&1 </dev/null

uidriver() {  # uidriver ARGS...: one driver step against setup.exe's windows
  wine "$driver" "$@" --pid "$pid" 2>>"$log" </dev/null
}
trim() { local s="$1"; s="${s#"${s%%[![:space:]]*}"}"; echo "${s%"${s##*[![:space:]]}"}"; }

cd "$build"
# Into a file: setup.exe inherits the driver's output and would hold a pipe open.
wine "$driver" start "$exe" >"$shots/setup.pid" 2>>"$log" </dev/null
pid=$(tr -d '\r' <"$shots/setup.pid")
[ -n "$pid" ] || { echo "screenshots: setup.exe did not start (see $log)" >&2; exit 1; }

made=0
for row in "${table[@]}"; do
  IFS='|' read -r name action wait flags <<<"$row"
  name=$(trim "$name"); action=$(trim "$action"); wait=$(trim "$wait"); flags=" $(trim "${flags:-}") "
  if [[ "$flags" == *" fast "* ]]; then
    # Step and wait in one driver process, which saves the screen itself.
    eval "uidriver $action --pid $pid --and wait $wait --shot '$shots/$name.bmp'" >/dev/null
    shown=$?
    [ $shown -eq 0 ] && convert "$shots/$name.bmp" "$shots/$name.png" && rm -f "$shots/$name.bmp"
  else
    if [ "$action" != "-" ]; then
      eval "uidriver $action" >/dev/null || { echo "screenshots: step '$action' failed, stopping (see $log)"; break; }
    fi
    [ "$wait" = "-" ] && continue
    if [ "$wait" = "msgbox" ]; then
      uidriver msgbox >/dev/null
    else
      eval "uidriver wait $wait" >/dev/null
    fi
    shown=$?
    if [ $shown -eq 0 ]; then
      sleep 0.5  # let it finish painting
      import -window root "$shots/$name.png"
    fi
  fi
  if [ $shown -ne 0 ]; then
    if [[ "$flags" == *" optional "* ]]; then
      echo "skipped $name: not caught on the screen"
      continue
    fi
    echo "skipped $name and what follows: not reachable yet"
    break
  fi
  made=$((made + 1))
  echo "$shots/$name.png"
done
uidriver answer ok >/dev/null 2>&1
echo "screenshots: $made written to $shots"
