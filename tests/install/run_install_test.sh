#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and builds a small C host
# against it twice, through pkg-config and through the CMake package; both
# must speak with the installed voice. Also checks the layout (SONAME, header,
# tools, module, voice, man pages) and that the installed vxn-tts finds its
# voice directory by itself.
#   run_install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 src=$2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vxn-install.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log"

fail() { echo "install test: $*" >&2; exit 1; }
lib=$(find "$prefix" -name libVXN_engine_sh.so | head -n 1)
[ -n "$lib" ] || fail "no libVXN_engine_sh.so under $prefix"
libdir=$(dirname "$lib")
soname=$(readelf -d "$libdir/libVXN_engine_sh.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
[ "$soname" = libVXN_engine_sh.so.0 ] || fail "SONAME is '$soname'"
[ -f "$libdir/libVXN_engine_sh.so.0" ] || fail "libVXN_engine_sh.so.0 missing"
for f in include/vxn_engine.h bin/vxn-tts bin/vxn-voice bin/vxn-g2p bin/vxn-wfstc \
         share/man/man1/vxn-tts.1 share/man/man1/vxn-voice.1 share/man/man1/vxn-g2p.1 \
         share/man/man1/vxn-wfstc.1; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
voice=$libdir/vxn/voice/
for f in Lib/libVXN_lang_usen.so Model/EnUS/vxnf_usen_24_256.am Model/EnUS/vxnf_usen_24_256.COPYRIGHT; do
  [ -e "$voice$f" ] || fail "$voice$f is not installed"
done

# A sanitizer build's library needs hosts built with the same runtime.
san=""
if readelf -d "$lib" | grep -q 'libasan'; then san="-fsanitize=address,undefined"; fi

# pkg-config
export PKG_CONFIG_PATH=$libdir/pkgconfig
[ "$(pkg-config --modversion vxn-engine)" = "$(sed -n 's/^project(vxn_engine VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] ||
  fail "pkg-config version $(pkg-config --modversion vxn-engine)"
pc_voice=$(pkg-config --variable=voicedir vxn-engine)
cc -Wall -Wextra $san -o "$tmp/host_pc" "$src/tests/install/install_host.c" \
  $(pkg-config --cflags --libs vxn-engine) -Wl,-rpath,"$(pkg-config --variable=libdir vxn-engine)"
"$tmp/host_pc" "$pc_voice" || fail "the pkg-config host did not speak"

# CMake package
cmake -S "$src/tests/install/cmake_host" -B "$tmp/cmake_host" -DCMAKE_PREFIX_PATH="$prefix" \
  -DHOST_SOURCE="$src/tests/install/install_host.c" -DCMAKE_C_FLAGS="$san" >"$tmp/cmake.log" || { cat "$tmp/cmake.log"; fail "configure"; }
cmake --build "$tmp/cmake_host" >>"$tmp/cmake.log" || { cat "$tmp/cmake.log"; fail "build"; }
"$tmp/cmake_host/install_host" "$(cat "$tmp/cmake_host/voice_dir.txt")" || fail "the CMake host did not speak"

# The installed tool finds the installed voice without being told.
bytes=$(env -u VXN_VOICE_DIR "$prefix/bin/vxn-tts" -q -o - "Hello." | wc -c)
[ "$bytes" -gt 10000 ] || fail "installed vxn-tts wrote $bytes bytes"
echo "install test: prefix layout, pkg-config host, CMake host and vxn-tts all good"
