#!/usr/bin/env bash
# Builds the tool and the library in every configuration and says what was built.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

echo
echo "Built:"
find build/native build/win32 build/win64 -maxdepth 3 \( -name '*.exe' -o -name '*.a' \) \
     -not -path '*/_deps/*' -not -path '*/CMakeFiles/*' | sort | sed 's/^/  /'
