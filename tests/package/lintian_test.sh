#!/usr/bin/env bash
# Debian's package checker on the package Package.Deb built: any error or warning fails, and its
# explanation is printed.
set -euo pipefail
work=$1
debs=("$work"/markwright_*.deb)
[ -e "${debs[0]}" ] || { echo "no package in $work" >&2; exit 1; }
# Lintian warns on stderr when run as root, as the test machines do; that is not a finding.
if ! lintian --info --fail-on error,warning "${debs[0]}" 2> >(grep -v 'root privileges' >&2); then
  echo "lintian finds errors or warnings in ${debs[0]##*/}" >&2
  exit 1
fi
