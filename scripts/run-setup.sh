#!/usr/bin/env bash
# Starts the built setup.exe under Wine, in a private prefix of the build.
#   run-setup.sh BUILD_DIR          (make run [BUILD=...])
# With $DISPLAY set it runs there, in the foreground, until it ends. Without
# one it runs on a virtual screen (Xvfb 1024x768x24), waits until the
# backdrop is painted, saves a screenshot, prints its path and keeps the
# program running until Enter is pressed (at most NORVU_RUN_SECONDS, 120 by
# default; no waiting without a terminal or under CI), then stops all it
# started. Where this machine runs no 32-bit code, setup runs so in the
# emulated machine (scripts/emulated-machine.sh), whose screen a VNC viewer
# can show and drive on this machine's loopback address meanwhile.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
# The build folder: the argument, else make's BUILD, else build/.
build="$(cd "${1:-${BUILD:-$here/../build}}" 2>/dev/null && pwd)" || { echo "run-setup: no build folder ${1:-${BUILD:-}}" >&2; exit 1; }
exe="$build/setup.exe"
[ -f "$exe" ] || exe="$build/win/setup.exe"
[ -f "$exe" ] || { echo "run-setup: no setup.exe in $build: build it first (make)" >&2; exit 1; }

export NORVU_PREFIX="$build/wine-run"
. "$here/wine-env.sh"

# Says what runs and waits for Enter, at most NORVU_RUN_SECONDS, where
# someone can press it: not without a terminal, nor under CI.
wait_for_enter() {  # what
  [ -t 0 ] && [ -z "${CI:-}" ] || return 0
  local seconds="${NORVU_RUN_SECONDS:-120}"
  echo "$1; press Enter to stop it (or wait $seconds s)"
  read -r -t "$seconds" _ || true
}

# A loopback port that nothing listens on, for the machine's screen.
free_port() {
  local port
  for port in $(seq 5910 5999); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return 0; }
  done
  return 1
}

if norvu_wine_needs_machine; then
  machine="$here/emulated-machine.sh"
  port=$(free_port) || port=""
  NORVU_VNC_PORT=$port "$machine" start "$build" || exit 1
  trap '"$machine" stop "$build"' EXIT
  # The machine's run holds setup until the file hold exists; hold.shown
  # says that the screenshot is taken. Both lie in the jobs folder, which
  # the machine sees at once.
  hold="$build/machine/hold"
  NORVU_RUN_HOLD="$hold" "$machine" run "$build" "$0" "$build" &
  job=$!
  until [ -e "$hold.shown" ]; do
    kill -0 "$job" 2>/dev/null || { wait "$job"; exit $?; }
    sleep 0.2
  done
  [ -n "$port" ] && echo "setup.exe runs in the emulated machine; to watch and use it, point a VNC viewer at 127.0.0.1::$port (e.g. gvncviewer 127.0.0.1::$port)"
  wait_for_enter "setup.exe is running"
  touch "$hold"
  wait "$job"
  exit $?
fi

if ! why=$(norvu_wine_runs); then
  echo "run-setup: cannot start $exe: $why" >&2
  exit 1
fi
echo "run-setup: Wine prefix $WINEPREFIX"
norvu_prefix_ready || exit 1

# The program is started from the build folder, as from its medium.
cd "$build"

if [ -n "${DISPLAY:-}" ]; then
  wine "$exe"
  status=$?
  wineserver -w
  exit $status
fi

log="$build/wine-run.log"
shots="$build/screenshots"
mkdir -p "$shots"
read -r display xpid < <(norvu_start_xvfb 1024x768x24) || exit 1
export DISPLAY="$display"
setup_pid=""

stop_all() {
  [ -n "$bridge_pid" ] && kill $bridge_pid 2>/dev/null
  [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  kill "$xpid" 2>/dev/null
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Wine's services first, detached from this terminal: started by setup.exe
# they would keep its output open after it ends.
setsid wineboot >"$log" 2>&1 </dev/null
# In a Wine desktop as large as the screen, so that Wine draws the window
# captions that no window manager draws here.
setsid wine explorer /desktop=Norvu,1024x768 "$exe" >>"$log" 2>&1 </dev/null &
setup_pid=$!

# The machine's serial line to the host's VNC port, when there is one:
# x11vnc serves the screen on the machine's own loopback address, and each
# viewer's bytes are passed between it and the line. The line reads as
# ended while no viewer is connected on the host, and a write to it waits
# for one: the server's greeting is passed first, and the way back opens
# once it has gone through.
vnc_bridge() {
  local port line=""
  for port in /sys/class/virtio-ports/*; do
    [ "$(cat "$port/name" 2>/dev/null)" = norvu.vnc ] && line="/dev/${port##*/}"
  done
  [ -n "$line" ] && command -v x11vnc >/dev/null || return 0
  ip link set lo up 2>/dev/null
  x11vnc -display "$DISPLAY" -rfbport 5900 -localhost -forever -shared -nopw -noxdamage -quiet >>"$log" 2>&1 &
  bridge_pid="$! $bridge_pid"
  (
    while :; do
      if exec 3<>/dev/tcp/127.0.0.1/5900 4<>"$line"; then
        head -c 12 <&3 >&4 && { cat <&3 >&4 & cat <&4 >&3; kill $!; }
      fi 2>/dev/null
      exec 3>&- 4>&-
      sleep 0.5
    done
  ) &
  bridge_pid="$! $bridge_pid"
}
bridge_pid=""

# The backdrop is painted when the screen's right edge shows the gradient:
# pure blue, dark near the top and bright near the bottom.
pixel_blue() {  # file x y: prints the blue value when the pixel is pure blue
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null |
    awk '$1 == 0 && $2 == 0 { print $3 }'
}
shot="$shots/run.png"
painted=""
for _ in $(seq 1 120); do
  if ! kill -0 "$setup_pid" 2>/dev/null; then
    echo "run-setup: setup.exe ended before its backdrop was painted (see $log)" >&2
    exit 1
  fi
  if import -window root "$shot" 2>/dev/null; then
    top=$(pixel_blue "$shot" 1010 120)
    bottom=$(pixel_blue "$shot" 1010 740)
    if [ -n "$top" ] && [ -n "$bottom" ] && [ "$bottom" -gt "$top" ] && [ "$bottom" -gt 150 ]; then
      painted=1
      break
    fi
  fi
  sleep 0.5
done
if [ -z "$painted" ]; then
  echo "run-setup: no painted backdrop within 60 s (last screen: $shot, log: $log)" >&2
  exit 1
fi
# The first page comes up right after the backdrop: let it be in the picture.
sleep 2
import -window root "$shot"
echo "screenshot: $shot"

if [ -n "${NORVU_RUN_HOLD:-}" ]; then
  # In the emulated machine: the host's user sees the screen through a VNC
  # viewer while the host holds setup.
  vnc_bridge
  touch "$NORVU_RUN_HOLD.shown"
  while [ ! -e "$NORVU_RUN_HOLD" ] && kill -0 "$setup_pid" 2>/dev/null; do sleep 0.5; done
else
  wait_for_enter "setup.exe is running on display $DISPLAY"
fi
echo "run-setup: stopping setup.exe"
exit 0
