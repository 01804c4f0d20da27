#!/usr/bin/env bash
# Installs the Debian packages that Fiscolario needs to build, test and run, when they are missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config git
  qt6-base-dev qt6-translations-l10n libqt6svg6-dev
  libsqlite3-dev libfreexl-dev libzip-dev libexpat1-dev zlib1g-dev mdbtools-dev libinih-dev
  libcli11-dev libxlsxwriter-dev libgtest-dev libssl-dev openssl
  qpdf poppler-utils fonts-urw-base35 xvfb xauth
  python3 python3-openpyxl python3-xlrd python3-xlwt python3-lxml time
  dpkg-dev file lintian ccache
  libpqxx-dev libpq-dev postgresql
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installo: ${missing[*]}" >&2
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
