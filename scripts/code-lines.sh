#!/usr/bin/env bash
# Prints how many lines of product code and of test code the project holds, and their ratio.
# A line counts when it is neither blank nor only a // comment, in C, C++ and resource sources.
# Product: app/, lib/, res/. Tests: tests/, fuzz/, testing/ and any test helper folder.
# The substitute platform counts as neither: it stands in for Windows, wherever it lives.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

count() {
  find "$@" -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' \
      -o -name '*.h' -o -name '*.hpp' -o -name '*.inc' -o -name '*.rc' \) \
      -not -ipath '*subst*' \
      -print0 2>/dev/null |
    xargs -0 -r cat | grep -cvE '^[[:space:]]*(//.*)?$' || true
}

dirs() { for d in "$@"; do [ -d "$d" ] && echo "$d"; done; }

mapfile -t product_dirs < <(dirs app lib res)
mapfile -t test_dirs < <(dirs tests fuzz testing test_support)
product=$(count "${product_dirs[@]}")
tests=$(count "${test_dirs[@]}")

echo "Lines of code (neither blank nor only a // comment):"
printf '  product  %6d  (%s)\n' "$product" "${product_dirs[*]}"
printf '  tests    %6d  (%s)\n' "$tests" "${test_dirs[*]}"
awk -v p="$product" -v t="$tests" 'BEGIN {
  if (p == 0) exit
  printf "  tests / product %.2f, tests / all code %.2f\n", t / p, t / (p + t) }'
