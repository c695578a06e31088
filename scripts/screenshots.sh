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
#        the window that then shows (uidriver query) | optional
# Each row starts where the previous one left the program. An optional row
# that does not show (the copy page may finish before it is caught) is
# skipped alone; any other row that does not show ends the run.
table=(
  "agreement    | -                                                  | --has $IDC_AGREEMENT_TEXT"
  "destination  | key --has $IDC_AGREEMENT_TEXT enter                | --has $IDC_PATH --has $IDC_BROWSE --has-text $IDOK Next"
  "browse       | click --has-text $IDOK Next --control $IDC_BROWSE   | --caption 'Setup - directory' --not-box"
  "-            | click --caption 'Setup - directory' --control $IDOK | -"
  "copy         | key --has-text $IDOK Next enter                    | --has $IDC_METER --timeout 5 | optional"
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
norvu_prefix_ready
# A Wine desktop the size of the screen: Wine draws the captions itself.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >>"$log" 2>&1 </dev/null
read -r display xpid < <(norvu_start_xvfb 1024x768x24) || exit 1
export DISPLAY="$display"
trap 'wineserver -k 2>/dev/null; kill "$xpid" 2>/dev/null' EXIT
setsid wineboot >>"$log" 2>&1 </dev/null

uidriver() {  # uidriver ARGS...: one driver step against setup.exe's windows
  wine "$driver" "$@" --pid "$pid" 2>>"$log" </dev/null
}
trim() { local s="$1"; s="${s#"${s%%[![:space:]]*}"}"; echo "${s%"${s##*[![:space:]]}"}"; }

cd "$build"
pid=$(wine "$driver" start "$exe" 2>>"$log" </dev/null | tr -d '\r') || pid=""
[ -n "$pid" ] || { echo "screenshots: setup.exe did not start (see $log)" >&2; exit 1; }

made=0
for row in "${table[@]}"; do
  IFS='|' read -r name action wait optional <<<"$row"
  name=$(trim "$name"); action=$(trim "$action"); wait=$(trim "$wait"); optional=$(trim "${optional:-}")
  if [ "$action" != "-" ]; then
    eval "uidriver $action" >/dev/null || { echo "screenshots: step '$action' failed, stopping (see $log)"; break; }
  fi
  [ "$wait" = "-" ] && continue
  if [ "$wait" = "msgbox" ]; then
    eval "uidriver msgbox" >/dev/null
  else
    eval "uidriver wait $wait" >/dev/null
  fi
  if [ $? -ne 0 ]; then
    if [ "$optional" = "optional" ]; then
      echo "skipped $name: not caught on the screen"
      continue
    fi
    echo "skipped $name and what follows: not reachable yet"
    break
  fi
  sleep 0.5  # let it finish painting
  import -window root "$shots/$name.png" && made=$((made + 1)) && echo "$shots/$name.png"
done
uidriver answer ok >/dev/null 2>&1
echo "screenshots: $made written to $shots"
