#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
      libgtest-dev libgmock-dev
      xvfb xauth fonts-dejavu-core locales
      poppler-utils)
bash "$(dirname "$0")/apt-install.sh" "${pkgs[@]}"

# An Italian locale (decimal comma) lets the tests check that numbers never
# follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO localedef -i it_IT -f UTF-8 it_IT.UTF-8 || echo "note: it_IT.UTF-8 locale not available"
fi
