#!/usr/bin/env bash
# Compares a program's import table with the list of imports it may have:
#   check_imports.sh <objdump> <program.exe> <list>
# Each list line is "DLL function 9x NT": the oldest Windows 9x and Windows NT release that
# has the function ("-" where that line has none). The list's "oldest" line names the oldest
# releases the program must start on. An import that is not listed, or that is listed with a
# newer release than those, fails the check: Windows refuses to load a program with a missing
# import, and Wine, which exports everything whatever version it reports, cannot show that.
set -euo pipefail

objdump=$1 program=$2 list=$3

"$objdump" -p "$program" |
  awk '/^\tDLL Name: / { dll = toupper($3); next }
       dll != "" && /^\t[0-9a-fA-F]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }' |
  sort -u |
  awk -v list="$list" '
    BEGIN {
      split("95 95-OSR2 98 98SE Me", order9x, " ")
      split("NT3.1 NT3.5 NT3.51 NT4.0 2000 XP XP-x64 Vista 7 8 8.1 10", orderNT, " ")
      for (i in order9x) rank9x[order9x[i]] = i + 0
      for (i in orderNT) rankNT[orderNT[i]] = i + 0
      rank9x["-"] = rankNT["-"] = 1000
      while ((getline line < list) > 0) {
        sub(/#.*/, "", line)
        n = split(line, f, " ")
        if (n == 0) continue
        if (f[1] == "oldest" && n == 3) { floor9x = f[2]; floorNT = f[3]; continue }
        if (n != 4 || !(f[3] in rank9x) || !(f[4] in rankNT)) {
          print list ": cannot read: " line; bad = 1; continue
        }
        key = toupper(f[1]) " " f[2]
        listed[key] = f[3] " " f[4]
        first9x[key] = f[3]
        firstNT[key] = f[4]
      }
      if (floor9x == "" || !(floor9x in rank9x) || !(floorNT in rankNT)) {
        print list ": no valid \"oldest\" line"; broken = 1; exit
      }
      oldest = (floor9x == "-" ? "" : floor9x " and ") floorNT
    }
    !($0 in listed) { print "not in the list: " $0; bad = 1; next }
    rank9x[first9x[$0]] > rank9x[floor9x] || rankNT[firstNT[$0]] > rankNT[floorNT] {
      print "newer than " oldest ": " $0 " (" listed[$0] ")"; bad = 1
    }
    { seen[$0] = 1; count++ }
    END {
      if (broken) exit 2
      for (key in listed) if (!(key in seen)) print "listed but no longer imported: " key
      if (bad) exit 1
      print count " imports, each on " oldest
    }'
