#!/usr/bin/env bash
# Language modules link no GPL library and no ICU (only the engine library,
# Flite and the C and C++ runtimes, with the sanitizer runtimes in sanitizer
# builds: their ICU data are tables generated at build time, and ICU would
# cost every language about 5 MiB of resident memory); with
# PLAIN_C_IMPORTS=1 every symbol they take
# from the engine library must also be a plain C name.
#   [PLAIN_C_IMPORTS=1] check_modules.sh ENGINE_LIBRARY MODULE...
set -u
engine=$1
shift
status=0
allowed='^(libVXN_engine_sh\.so(\.[0-9]+)?|libflite[a-z_]*\.so\.[0-9]+|libstdc\+\+\.so\.6|libasan\.so\.[0-9]+|libubsan\.so\.[0-9]+|libgcc_s\.so\.1|libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2)$'
engine_syms=$(nm -D --defined-only "$engine" | awk '{print $3}' | sort -u)
for module in "$@"; do
  needed=$(readelf -d "$module" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [ -n "$needed" ] || { echo "$module: no dynamic section"; status=1; }
  for lib in $needed; do
    if ! grep -Eq "$allowed" <<<"$lib"; then
      echo "$module: links $lib, which is not among the libraries a module may use"
      status=1
    fi
  done
  # Resolved dependencies too: nothing of espeak-ng (GPLv3) anywhere below.
  if ldd "$module" | grep -qi espeak; then
    echo "$module: depends on espeak-ng"
    status=1
  fi
  [ "${PLAIN_C_IMPORTS:-0}" = 1 ] || continue
  mangled=$(comm -12 <(nm -D --undefined-only "$module" | awk '{print $2}' | sed 's/@.*//' | sort -u) \
                     <(echo "$engine_syms") | grep '^_Z' || true)
  if [ -n "$mangled" ]; then
    echo "$module: imports C++ names from the engine library: $mangled"
    status=1
  fi
done
[ $status = 0 ] && echo "modules: $# checked, dependencies and imports as allowed"
exit $status
