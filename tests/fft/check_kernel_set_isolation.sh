#!/usr/bin/env bash
# check_kernel_set_isolation.sh <objdump> <set required: 0|1> <library>...
# Fails when a function outside the Armv8.3-A kernel set (namespace isa_armv8_3) holds an
# instruction the Armv8.0-A baseline lacks: the complex-number instructions, and the atomics
# and acquire loads that -march=armv8.3-a also enables. Where the set is required, also fails
# when no function of it uses them, which would mean the set was not built. The toolchain's
# out-of-line atomics (__aarch64_*) choose their instructions at run time and are exempt.
set -uo pipefail
objdump=$1 required=$2
shift 2
status=0
for library in "$@"; do
  "$objdump" -d -C --no-show-raw-insn "$library" | awk -v library="$library" -v required="$required" '
    /^[0-9a-f]+ <.*>:$/ { function_name = $0; next }
    $2 ~ /^(fcmla|fcadd|cas[a-z]*|ld(add|clr|eor|set|smax|smin|umax|umin)[a-z]*|swp[a-z]*|ldapr[a-z]*)$/ {
      if (function_name ~ /isa_armv8_3/) { in_set++; next }
      if (function_name ~ /<__aarch64_/) next
      print library ": " $2 " outside the complex kernel set, in " function_name
      leaked++
    }
    END { printf "%s: %d instructions beyond the baseline, all in the complex kernel set\n", library, in_set
          exit leaked > 0 || (required && in_set == 0) }' || status=1
done
exit $status
