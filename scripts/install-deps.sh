#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, only those missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  qt6-multimedia-dev libqt6multimedia6 qt6-image-formats-plugins
  # Videos play through Qt Multimedia's FFmpeg backend (in libqt6multimedia6),
  # which decodes .avi, .mpg and .wmv with the libav* libraries it depends on.
  libqt6multimediawidgets6 libavcodec59 libavformat59 libswscale6
  qt6-translations-l10n qt6-l10n-tools
  libqt6svg6
  libgl-dev libxkbcommon-dev
  fonts-noto-cjk
  xdg-utils
  # Where a tag stands in a page the program writes into is read by an HTML5 tokenizer.
  libgumbo-dev
  xvfb xdotool
  # Printed pages are checked as text and pictures (pdftotext, pdftoppm).
  poppler-utils
  clang libclang-rt-14-dev
  openssh-server openssh-client sshfs
)

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
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
