#!/usr/bin/env bash
# Installs the Debian packages Larkmere needs to build, run and test; only what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config dpkg-dev debhelper git gettext
  libsdl2-dev libsdl2-mixer-dev libgl-dev libglu1-mesa-dev freeglut3-dev libfreeimage-dev libx11-dev libxtst-dev
  libgl1-mesa-dri
  libgtest-dev
)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(xvfb xauth xdotool openbox x11-utils imagemagick clang libclang-rt-14-dev desktop-file-utils appstream lintian devscripts locales)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The language tests play the game in English and in Spanish; the locales they ask for must exist.
if [[ "${1:-}" == "--test" ]]; then
  needed=()
  for locale in en_US.UTF-8 es_ES.UTF-8; do
    if ! locale -a | grep -qix "${locale/UTF-8/utf8}"; then needed+=("$locale"); fi
  done
  if ((${#needed[@]} > 0)); then
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
    echo "Generating locales: ${needed[*]}"
    for locale in "${needed[@]}"; do
      "${sudo[@]}" sed -i "s/^# *\(${locale} UTF-8\)/\1/" /etc/locale.gen
      grep -qx "${locale} UTF-8" /etc/locale.gen || echo "${locale} UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    done
    "${sudo[@]}" locale-gen
  fi
fi
