#!/usr/bin/env bash
# Prints the Depends of the Debian package in BUILD_DIR and holds it to lintian: an error fails.
#   tools/lint_deb.sh BUILD_DIR
set -eu
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2 && exit 2; }
debs=("$1"/varnock-hollenby_*.deb)
[ -f "${debs[0]}" ] || { echo "no package in $1" >&2 && exit 1; }
echo "${debs[0]}: Depends: $(dpkg-deb -f "${debs[0]}" Depends)"
lintian "${debs[0]}" 2>/dev/null | tee "$1/lintian.log"
! grep -q '^E:' "$1/lintian.log"
