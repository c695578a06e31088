# Sourced: the environment for every Wine start of the build. A private
# 32-bit prefix under build/, no debug output, no desktop menu entries and
# no mono or gecko download prompts.
: "${NORVU_PREFIX:?NORVU_PREFIX must name the prefix folder}"
export WINEPREFIX="$NORVU_PREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Wine names the Unix files in the locale's character set: in the C locale
# a Windows name with letters outside ASCII (C:\Programme\Norvü) cannot be
# made at all. The tests' drives take any name in a UTF-8 locale.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8

. "$(dirname "${BASH_SOURCE[0]}")/machine-probe.sh"

# Whether Wine starts; when it does not, says why on standard output. Run
# where Wine is to run: here, or inside the emulated machine.
norvu_wine_runs() {
  local out
  out=$(wine --version 2>&1) && return 0
  echo "Wine does not start here: $(echo "$out" | tail -n 1)"
  return 1
}

# Makes the prefix once; later calls return at once. A prefix that Wine did
# not finish (it has no system32\kernel32.dll: wineboot failed) is made
# anew, and one that cannot be made is an error, not a half-made prefix
# that every later run would take for a good one.
norvu_prefix_ready() {
  local made="$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
  # In the emulated machine a prefix lives in the machine's memory: its
  # 600 MB written through the shared folder would take minutes.
  if [ -n "${NORVU_IN_MACHINE:-}" ] && ! mountpoint -q "$WINEPREFIX"; then
    mkdir -p "$WINEPREFIX" && mount -t tmpfs -o mode=700 prefix "$WINEPREFIX" || return 1
  fi
  if [ ! -f "$made" ]; then
    [ -f "$WINEPREFIX/system.reg" ] && rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1
    wineserver -w
    if [ ! -f "$made" ]; then
      echo "wine-env: Wine could not make the prefix $WINEPREFIX (does 'wine --version' run here?)" >&2
      return 1
    fi
  fi
  norvu_dialog_fonts
}

# Debian's Wine looks for the fonts it ships in /usr/share/wine/../fonts,
# not in /usr/share/wine/fonts where fonts-wine puts them, so it finds them
# only in the prefix's Fonts folder. Two are needed there:
# - Marlett, in which the system draws the caption buttons (close, minimise,
#   maximise); without it they come out as the letters "r", "0" and "1";
# - Tahoma: dialogs ask for 8-point "MS Sans Serif", and without Windows'
#   fonts Wine falls back to a wider face and every dialog grows by a sixth;
#   Wine's own Tahoma has the usual dialog metrics, 6 x 13 base units.
norvu_dialog_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  [ -d /usr/share/wine/fonts ] || return 0
  mkdir -p "$fonts"
  for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    [ -f "$fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$fonts/"
  done
  # Until it is in the registry (saved to system.reg when Wine ends), so
  # that an interrupted run does not leave the prefix without it.
  grep -qF '"MS Sans Serif"="Tahoma"' "$WINEPREFIX/system.reg" && return 0
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
