#!/usr/bin/env bash
# Installs the Debian packages of the lists named, only those missing, with apt-get
# (through sudo when not run as root). No list holds a package that starts a system service.
#   scripts/install-deps.sh run         building and running the program (./run.sh)
#   scripts/install-deps.sh run test    and the tests (./test.sh)
#   scripts/install-deps.sh fuzz        clang for the fuzz targets (scripts/fuzz.sh)
#   scripts/install-deps.sh --list run  prints the list's packages, installs nothing
set -euo pipefail

run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools
  qt6-webengine-dev libqt6webenginecore6-bin
  # Videos play through Qt Multimedia's FFmpeg backend (in libqt6multimedia6),
  # which decodes .avi, .mpg and .wmv with the libav* libraries it depends on.
  qt6-multimedia-dev libqt6multimedia6 libqt6multimediawidgets6 libavcodec59 libavformat59 libswscale6
  qt6-image-formats-plugins libqt6svg6
  qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  fonts-noto-cjk
  xdg-utils
  # Where a tag stands in a page the program writes into is read by an HTML5 tokenizer.
  libgumbo-dev
)

test_packages=(
  # The window tests that need a real X display, and their clicks.
  xvfb xdotool
  # Printed pages are checked as text and pictures (pdftotext, pdftoppm).
  poppler-utils
  # The crash tests' network share: sshfs straight to an sftp-server the test starts
  # itself (no SSH server).
  sshfs openssh-sftp-server
)

fuzz_packages=(
  clang libclang-rt-14-dev
)

list_only=false
if [ "${1:-}" = "--list" ]; then
  list_only=true
  shift
fi
[ $# -gt 0 ] || { echo "usage: $0 [--list] run|test|fuzz ..." >&2; exit 2; }

packages=()
for list in "$@"; do
  case $list in
    run) packages+=("${run_packages[@]}") ;;
    test) packages+=("${test_packages[@]}") ;;
    fuzz) packages+=("${fuzz_packages[@]}") ;;
    *) echo "$0: no list named $list (run, test, fuzz)" >&2; exit 2 ;;
  esac
done

if $list_only; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
# Recommended packages stay out: openssh-sftp-server recommends an SSH server.
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
