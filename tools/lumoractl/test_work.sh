# Sourced by the test scripts beside it, which run as SCRIPT LUMORACTL CASE: stops at the first
# command that fails, names the lumoractl under test `ctl`, and gives the case a folder `work` of
# its own, removed at the end.
set -eu
ctl=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
