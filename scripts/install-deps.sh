#!/usr/bin/env bash
# Installs every Debian package Vantrel needs to build, test and run.
# Idempotent: refreshes the package lists only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-charts-dev qt6-webengine-dev qtkeychain-qt6-dev
  libicu-dev libsqlite3-dev libminizip-dev zlib1g-dev libplist-dev libplist++-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format clang-tidy
  xvfb xauth poppler-utils gnome-keyring libsecret-tools dbus
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
