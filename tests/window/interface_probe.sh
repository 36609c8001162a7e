#!/bin/sh
# The calculator's interface shows a presentation nothing of the core: the
# probe compiles as it is, and naming the core fails once for each line that
# names it, each name behind the interface.
#   interface_probe.sh COMPILER SOURCE_DIR
set -u
compile="$1 -fsyntax-only -std=c++20 -I$2 $2/tests/window/interface_probe.cpp"
$compile || { echo "FAIL: the interface's own names do not compile"; exit 1; }
hidden=$(grep -n "// hidden" "$2/tests/window/interface_probe.cpp" | cut -d: -f1)
errors=$($compile -DNAMING_THE_CORE 2>&1 | grep "interface_probe.cpp:[0-9]*:[0-9]*: error:")
status=0
for line in $hidden; do
  echo "$errors" | grep -q "interface_probe.cpp:$line:" ||
    { echo "FAIL: line $line names the core through the interface"; status=1; }
done
[ "$status" -eq 0 ] && echo "PASS: $(echo "$hidden" | wc -w) names of the core are hidden"
exit "$status"
