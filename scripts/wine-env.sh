# Sourced: the environment for every Wine start of the build. A private
# 32-bit prefix under build/, no debug output, no desktop menu entries and
# no mono or gecko download prompts.
: "${NORVU_PREFIX:?NORVU_PREFIX must name the prefix folder}"
export WINEPREFIX="$NORVU_PREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# Makes the prefix once; later calls return at once.
norvu_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# Starts Xvfb on a free display and prints "display pid".
norvu_start_xvfb() {
  local geometry="${1:-1024x768x24}" fifo pid display
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  pid=$!
  read -r -t 30 display <"$fifo" || true
  rm -f "$fifo"
  [ -n "$display" ] || { echo "Xvfb did not start" >&2; kill "$pid" 2>/dev/null; return 1; }
  echo ":$display $pid"
}
