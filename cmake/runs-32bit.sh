#!/usr/bin/env bash
# Exits 0 when this machine can start 32-bit Linux programs, and so 32-bit Wine. Some kernels
# are built or booted without ia32 emulation; there the win32 build can be made but not run.
/usr/lib/wine/wine --version >/dev/null 2>&1
