# Shared by the set-up scripts: installs missing Debian packages and builds.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${CORVANE_BUILD:-$ROOT/build}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# Installs only what is missing, so a second run touches no package.
install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6printsupport6
  qt6-qpa-plugins libsqlcipher-dev sqlcipher libfreexl-dev libgsf-1-dev libquazip1-qt6-dev libjpeg-dev libx11-dev
  fonts-noto-cjk fonts-arphic-uming qt6-translations-l10n libqpdf-dev xdg-user-dirs xdg-utils)
TEST_PACKAGES=(cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils xvfb x11-utils python3-xlrd)

build() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$BUILD" -j"$(nproc)"
}
