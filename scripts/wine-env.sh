# Sourced by the run and test scripts: Wine and display settings.
# Never touches ~/.wine: the prefix is the project's own unless WINEPREFIX
# names another.

# Wine passes file names and arguments through the locale's character set:
# without a UTF-8 locale, Polish letters arrive garbled. C.UTF-8 comes with
# Debian's libc, so it is there even on a machine with no locale set up.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

# Which Windows build Wine runs here. The 32-bit executable is the product,
# but some machines' kernels run no 32-bit program ("Exec format error"),
# so no 32-bit Wine: there the same sources are built for x86_64 and run
# under the 64-bit loader. KONFIGNOVERA_WINE=32 or 64 chooses by hand.
# Sets WINDOWS_BUILD (win32 or win64) and WINDOWS_BUILD_REASON; for win64
# it puts the 64-bit loader first on PATH.
choose_windows_build() {
  case "${KONFIGNOVERA_WINE:-}" in
    32) WINDOWS_BUILD=win32 WINDOWS_BUILD_REASON="KONFIGNOVERA_WINE=32 asks for it" ;;
    64) WINDOWS_BUILD=win64 WINDOWS_BUILD_REASON="KONFIGNOVERA_WINE=64 asks for it" ;;
    *)
      if runs_32bit_programs && ! fell_back_to_wine64; then
        WINDOWS_BUILD=win32 WINDOWS_BUILD_REASON="this machine runs 32-bit programs"
      elif runs_32bit_programs; then
        WINDOWS_BUILD=win64
        WINDOWS_BUILD_REASON="Debian's 32-bit Wine could not be installed here (setup.sh said why), so wine64 runs it"
      else
        WINDOWS_BUILD=win64
        WINDOWS_BUILD_REASON="this machine's kernel runs no 32-bit program, so no 32-bit Wine"
      fi
      ;;
  esac
  if [ "$WINDOWS_BUILD" = win64 ]; then
    local wrappers
    wrappers="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"
    case ":$PATH:" in *":$wrappers:"*) ;; *) PATH="$wrappers:$PATH" ;; esac
    export PATH WINEARCH=win64
  else
    # Pinned so that a machine that also has wine64 makes the same prefix.
    export WINEARCH=win32
  fi
}

installed() {  # PACKAGE
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}

# setup.sh takes the 64-bit loader when the 32-bit Wine cannot be installed
# (an i386 package index out of step with the amd64 one, say): wine64 is
# there and wine32 is not. Installing wine32 by hand brings the 32-bit path
# back.
fell_back_to_wine64() {
  installed wine64 && ! installed wine32:i386
}

# Starts a 32-bit program that only exits: the kernel's answer is the one
# every 32-bit Wine loader gets, known before Wine is even installed.
runs_32bit_programs() {
  local folder probe rc=0
  # Beside the builds: /tmp may forbid running programs.
  folder="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
  mkdir -p "$folder"
  probe="$folder/.probe-i386-$$"
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return "$rc"
}

choose_windows_build

# No script stops with a bare exit code: the failing command is named.
trap 'failed=$?; echo "${0##*/}: stopped because \"$BASH_COMMAND\" failed with exit code $failed." >&2' ERR

export WINEDEBUG=${WINEDEBUG:--all}
# Skips the Mono and Gecko install prompts of a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Creates the prefix when missing. A prefix made before wine32 was
# installed cannot run 32-bit programs, so one is made only here.
ensure_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating the Wine prefix $WINEPREFIX ..." >&2
      if ! wineboot -i >/dev/null 2>&1 || ! wineserver -w; then
        echo "Wine could not create the prefix $WINEPREFIX; the command 'wineboot -i' tells why." >&2
        return 1
      fi
    fi
    link_wine_fonts
  ) 9>"$WINEPREFIX.lock"
}

# Debian 12's Wine does not load the fonts of fonts-wine by itself, so
# dialogs fall back to another face and caption buttons lose their Marlett
# glyphs. The prefix's own font folder is always searched.
link_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] || continue
    [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
  done
}

XVFB_PID=
# Starts a private Xvfb when there is no display. Xvfb picks a free display
# number itself (-displayfd): a number that looks free here may be held by
# an X server of another root on the same machine, whose abstract socket
# this one's clients would reach instead.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local answer n=
  answer=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$answer" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    n=$(tr -dc 0-9 <"$answer")
    [ -n "$n" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$answer"
  if [ -z "$n" ]; then
    echo "Xvfb did not start, so there is no display for the window." >&2
    return 1
  fi
  export DISPLAY=":$n"
}

stop_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# A prefix is made for one loader, so the 64-bit one gets prefixes of its
# own: NAME for the 32-bit build, NAME64 for the 64-bit one.
prefix_name() {  # NAME
  if [ "$WINDOWS_BUILD" = win64 ]; then echo "${1}64"; else echo "$1"; fi
}
