#!/usr/bin/env bash
# Configures and builds the library afresh, installs it into a temporary prefix, then builds
# and runs a small project that knows only the installed package.
#   install_test.sh <source dir> <toolchain file or ""> [emulator...]
set -euo pipefail
source=$1 toolchain=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

common=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
program=$work/consumer/consumer
if [ -n "$toolchain" ]; then
  common+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
  program+=.exe
fi

cmake -S "$source" -B "$work/build" "${common[@]}" -DZV_BUILD_TESTS=OFF -DZV_WERROR=ON >/dev/null
nice -n 10 cmake --build "$work/build" --target zv_file zv_gfx -j2
cmake --install "$work/build" --component library --prefix "$work/prefix"

# A cross toolchain searches packages only below its own root, so the package is named.
package=$(dirname "$(find "$work/prefix" -name ZorvelConfig.cmake)")
cmake -S "$source/tests/install/consumer" -B "$work/consumer" "${common[@]}" \
  -DCMAKE_PREFIX_PATH="$work/prefix" -DZorvel_DIR="$package" >/dev/null
cmake --build "$work/consumer"
if [[ "$toolchain" == *i686* ]] && ! "$source/cmake/runs-32bit.sh"; then
  echo "consumer built; not run: this kernel starts no 32-bit programs"
  exit 0
fi
"$@" "$program"
