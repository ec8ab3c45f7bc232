#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# "deps.sh fuzz" adds clang and its fuzzing runtime for scripts/fuzz.sh.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libicu-dev libfmt-dev libmsgpack-cxx-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
