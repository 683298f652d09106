# Sourced by the run and test scripts: Wine and display settings.
# Never touches ~/.wine: the prefix is the project's own unless WINEPREFIX
# names another.

# Wine passes file names and arguments through the locale's character set:
# without a UTF-8 locale, Polish letters arrive garbled. C.UTF-8 comes with
# Debian's libc, so it is there even on a machine with no locale set up.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

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
      wineboot -i >/dev/null 2>&1
      wineserver -w
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
# Starts a private Xvfb when there is no display.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

stop_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
