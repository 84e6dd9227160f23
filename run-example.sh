#!/usr/bin/env bash
# Builds the program and runs it on the example deck in a scratch directory; the report shows
# on the console, and this script answers the closing prompt with Enter. The report file is
# left in the scratch directory, whose name is printed at the end.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cmake --workflow --preset build >/dev/null
work="$(mktemp -d)"
cp "$here/examples/worked/KORVENTAPSILUM.TSK" "$work/"
cd "$work"
status=0
printf '\n' | "$here/build/default/korventapsilum" || status=$?
echo "(report file: $work/KORVENTAPSILUM.SON, exit status $status)"
exit "$status"
