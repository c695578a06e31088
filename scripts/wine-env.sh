# Sourced: the environment for every Wine start of the build. A private
# 32-bit prefix under build/, no debug output, no desktop menu entries and
# no mono or gecko download prompts.
: "${NORVU_PREFIX:?NORVU_PREFIX must name the prefix folder}"
export WINEPREFIX="$NORVU_PREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# Whether this machine runs Wine's 32-bit loader at all; when it does not,
# says why on standard output (say, a kernel or hypervisor without IA-32
# emulation: "Exec format error").
norvu_wine_runs() {
  local out
  out=$(wine --version 2>&1) && return 0
  echo "this machine cannot run 32-bit x86 programs, so Wine cannot start ($(echo "$out" | tail -n 1))"
  return 1
}

# Makes the prefix once; later calls return at once.
norvu_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  norvu_dialog_fonts
}

# Dialogs ask for 8-point "MS Sans Serif". Without Windows' fonts Wine falls
# back to a wider face and every dialog grows by a sixth; Wine's own Tahoma
# (Debian's fonts-wine) has the usual dialog metrics, 6 x 13 base units.
norvu_dialog_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/tahoma.ttf" ] && return 0
  [ -f /usr/share/wine/fonts/tahoma.ttf ] || return 0
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
  DISPLAY= wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "MS Sans Serif" /d Tahoma /f >/dev/null 2>&1 </dev/null
  wineserver -w
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
