#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, and only
# what is missing. Non-interactive and safe to run again.
set -euo pipefail
# shellcheck source=wine-env.sh
source "$(dirname "$0")/wine-env.sh"

PACKAGES=(
  cmake ninja-build g++ libgtest-dev       # native build and unit tests
  mingw-w64                                # the 32-bit Windows executable
  wine fonts-wine                          # running it (fonts-wine, only
                                           # recommended, has Tahoma and Marlett)
  xvfb xdotool x11-utils imagemagick       # a display, screenshots
  clang libclang-rt-14-dev                 # sanitizer build and fuzz targets
  libbenchmark-dev                         # benchmarks
  postgresql unixodbc odbc-postgresql      # a real server and driver manager for the SQL Server path
  python3                                  # the end-to-end tests' loopback servers and result checks
)
# The 32-bit build runs under wine32. Where no 32-bit program runs, or
# wine32 could not be installed before, the x86_64 build runs under Wine's
# 64-bit loader instead, and wine32 is not asked for again.
if [ "$WINDOWS_BUILD" = win32 ]; then PACKAGES+=(wine32:i386); else PACKAGES+=(wine64); fi

missing=()
for package in "${PACKAGES[@]}"; do
  installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}" >&2
$SUDO dpkg --add-architecture i386
# A mirror caught mid-sync fails one index while the others are fine; the
# install below then says plainly if a package really cannot be had.
if ! $SUDO apt-get update -q; then
  sleep 10
  $SUDO apt-get update -q || echo "setup.sh: some package indexes could not be refreshed; installing from those at hand." >&2
fi
if $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"; then exit 0; fi
[ "$WINDOWS_BUILD" = win32 ] || exit 1
# The 32-bit Wine needs i386 libraries of the very versions the amd64 ones
# have; where the i386 index lags, the same sources run under wine64.
echo "setup.sh: the 32-bit Wine cannot be installed from the package indexes at hand; installing wine64 to run the 64-bit build instead." >&2
fallback=()
for package in "${missing[@]}"; do
  [ "$package" = wine32:i386 ] || fallback+=("$package")
done
$SUDO apt-get install -y -q --no-install-recommends "${fallback[@]}" wine64
