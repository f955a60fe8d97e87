#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but only
# those that are missing. As root it installs directly, otherwise through sudo;
# without either it prints the exact apt-get line and stops.
#   tools/install-deps.sh         what make run and test need
#   tools/install-deps.sh bench   that and Google Benchmark with libtcod (make bench)
#   tools/install-deps.sh fuzz    that and clang with libFuzzer (make fuzz)
#   tools/install-deps.sh docs    that and Doxygen (make docs)
#   tools/install-deps.sh web     that and Emscripten and Chromium (make web, and
#                                 make test, which runs the page in Chromium)
# It prints one line naming what it installs; apt's own output goes to the
# file TW_DEPS_LOG (build/install-deps.log by default), which a failure names.
set -euo pipefail
LOG=${TW_DEPS_LOG:-build/install-deps.log}

PACKAGES=(
  build-essential cmake make pkg-config
  libsfml-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev googletest
  libx11-dev xvfb xauth xdotool x11-apps x11-utils imagemagick
  libncurses-dev tmux
  libwslay-dev nettle-dev
  zlib1g-dev libpng-dev
)
case "${1:-}" in
  fuzz) PACKAGES+=(clang-14 libclang-rt-14-dev) ;;
  docs) PACKAGES+=(doxygen) ;;
  web) PACKAGES+=(emscripten chromium nodejs) ;;
  # libtcod only for the path benchmark, as the peer it is measured against.
  bench) PACKAGES+=(libbenchmark-dev libtcod-dev) ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

line="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi

mkdir -p "$(dirname "$LOG")"
echo "Installing ${missing[*]} (apt's output: $LOG)"
export DEBIAN_FRONTEND=noninteractive
if ! { $SUDO apt-get update -qq -o DPkg::Lock::Timeout=600 && $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"; } \
    > "$LOG" 2>&1; then
  tail -n 5 "$LOG" >&2
  echo "Installing failed; the whole output is in $LOG" >&2
  exit 1
fi
