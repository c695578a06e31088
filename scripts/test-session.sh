#!/usr/bin/env bash
# Starts or stops what the Windows tests share: the prefix, one persistent
# wineserver, an Xvfb screen and the extra drives.
#   test-session.sh start BUILD_DIR
#   test-session.sh stop  BUILD_DIR
set -u
action="$1"; build="$(cd "$2" && pwd)" || exit 1
session="$build/test-session"
here="$(cd "$(dirname "$0")" && pwd)"
export NORVU_PREFIX="$build/wine-prefix"
. "$(dirname "$0")/wine-env.sh"

map_drive() {  # letter target
  ln -sfn "$2" "$WINEPREFIX/dosdevices/$1:"
}

# Says which fixture the session could not make, and why; the cases that
# need it then report themselves as not run.
not_made() {  # what why
  echo "test session: could not make $1: $2"
}

small_drive() {  # letter size: a tmpfs of that size, where mount is allowed
  local dir="$build/drives/$1" why
  mkdir -p "$dir"
  mountpoint -q "$dir" && umount "$dir" 2>/dev/null
  if why=$(mount -t tmpfs -o size="$2" tmpfs "$dir" 2>&1); then
    echo "$dir" >>"$session/mounts"
    map_drive "$1" "$dir"
  else
    # No drive at all: a link left from an earlier session would now name
    # a plain folder of the host disk, with gigabytes free.
    rm -f "$WINEPREFIX/dosdevices/$1:"
    not_made "drive ${1^^}: ($2 tmpfs)" "${why:-mount failed}"
  fi
}

# A drive letter whose target does not exist: a drive without a medium.
missing_drive() {  # letter
  ln -sfn "$build/drives/no-medium-$1" "$WINEPREFIX/dosdevices/$1:"
}

# Whether this session's virtual desktop runs: an explorer.exe /desktop of
# this prefix (other builds run their own sessions beside this one).
desktop_up() {
  local p
  for p in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

case "$action" in
start)
  # Where this machine runs no 32-bit code, the whole session runs in the
  # emulated machine, and so does every program of it (wine-run.sh).
  if norvu_wine_needs_machine; then
    "$here/emulated-machine.sh" start "$build" || exit 1
    "$here/emulated-machine.sh" run "$build" "$0" start "$build" || exit 1
    touch "$session/in-machine"
    exit 0
  fi
  rm -rf "$session"; mkdir -p "$session"
  if ! why=$(norvu_wine_runs); then
    echo "test session: $why" >&2
    exit 1
  fi
  norvu_prefix_ready || exit 1
  read -r display xpid < <(norvu_start_xvfb 1024x768x24) || exit 1
  echo "$display" >"$session/display"
  echo "$xpid" >"$session/xvfb.pid"
  # Drives D and E are plain folders; S is 1 MB and T is 3 MB of tmpfs; N
  # has no medium. Mapped before the first Wine process of the session:
  # Wine's mount manager reads the drive links once, when it starts.
  for d in d e; do mkdir -p "$build/drives/$d"; map_drive "$d" "$build/drives/$d"; done
  : >"$session/mounts"
  small_drive s 1m
  small_drive t 3m
  missing_drive n
  wineserver -f -p >/dev/null 2>&1 </dev/null &
  echo $! >"$session/wineserver.pid"
  # A virtual desktop the size of the screen: Wine then manages activation
  # itself, instead of waiting for a window manager that Xvfb does not have
  # each time a window is hidden.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
  # Starts Wine's own services now, detached from CTest's output pipes: a
  # service started by the first test would hold that test's pipe open.
  DISPLAY="$display" wineboot >/dev/null 2>&1 </dev/null
  # One hidden window for the whole session keeps the virtual desktop open
  # between test programs (wine-session processes end with wineserver -k).
  if [ ! -f "$build/desktop_keeper.exe" ]; then
    echo "test session: no $build/desktop_keeper.exe to open Wine's desktop (build the tests: make test)" >&2
    exit 1
  fi
  DISPLAY="$display" wine "$build/desktop_keeper.exe" >/dev/null 2>&1 </dev/null &
  # Its window starts the desktop (explorer.exe /desktop). Until that is
  # up, the first test program would start it instead, and the desktop
  # would hold that test's output pipe open to the session's end.
  for _ in $(seq 150); do desktop_up && break; sleep 0.2; done
  if ! desktop_up; then
    echo "test session: Wine's desktop did not come up within 30 s (display $display, prefix $WINEPREFIX)" >&2
    exit 1
  fi
  echo "test session: display $display, prefix $WINEPREFIX"
  ;;
stop)
  [ -d "$session" ] || exit 0
  if [ -f "$session/in-machine" ] && [ -z "${NORVU_IN_MACHINE:-}" ]; then
    "$here/emulated-machine.sh" run "$build" "$0" stop "$build"
    "$here/emulated-machine.sh" stop "$build"
    rm -f "$session/in-machine"
    exit 0
  fi
  wineserver -k 2>/dev/null
  for f in xvfb.pid wineserver.pid; do
    [ -f "$session/$f" ] && kill "$(cat "$session/$f")" 2>/dev/null
  done
  if [ -f "$session/mounts" ]; then
    tac "$session/mounts" | while read -r m; do umount "$m" 2>/dev/null; done
  fi
  rm -f "$session/display"
  ;;
esac
exit 0
