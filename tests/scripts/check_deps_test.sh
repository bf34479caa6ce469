#!/usr/bin/env bash
# scripts/check-deps over a copy of the tree: the copy as it is passes; each planted include below
# fails the check, naming its file, except the ones marked "ok".
#   check_deps_test.sh [SOURCE_DIR]
set -u
source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
check="$source_dir/scripts/check-deps"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expected|file|lines (\n between lines)
cases=(
  "fail|src/status/planted.cpp|#include <app/program.h>"
  "fail|src/status/planted.cpp|#include \"../base/text.h\""
  "fail|src/catalogue/planted.cpp|#include \"platform/win32/unique_handle.h\""
  "fail|src/platform/planted.cpp|#include <tlhelp32.h>"
  "fail|src/services/planted.cpp|#include <cstdint>\n#ifdef _WIN32\n#include <atlbase.h>\n#endif"
  "fail|src/base/planted.h.in|#include \"status/ip_address.h\""
  "fail|src/services/sql/planted.cpp|#include \"services/jet/database.h\""
  "fail|src/services/ado/planted.cpp|#include \"services/jet/field_parse.h\""
  "fail|src/catalogue/planted.h|#include \"services/jet/table_reader.h\""
  "fail|src/services/values/planted.cpp|#include \"services/sql/table_store.h\""
  "ok|src/app/planted.cpp|#include <status/reachability_pass.h>"
  "ok|src/services/sql/planted.cpp|#include \"services/values/value.h\""
  "ok|src/services/planted.cpp|#include \"services/jet/database.h\""
  "ok|src/services/planted.cpp|#if defined(_WIN32)\n#include <cstdint>\n#else\n#include <unistd.h>\n#endif"
)

base="$work/base"
mkdir -p "$base/tools" "$base/scripts"
cp -R "$source_dir/src" "$base/"
cp -R "$source_dir/scripts/deps" "$base/scripts/"
for tool in lumoractl standin_mstsc rdp_client; do
  cp -R "$source_dir/tools/$tool" "$base/tools/"
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! output=$(python3 "$check" --root "$base" 2>&1); then
  fail "the unchanged tree does not pass:"
  printf '%s\n' "$output"
fi

number=0
for entry in "${cases[@]}"; do
  number=$((number + 1))
  IFS='|' read -r expected file lines <<<"$entry"
  tree="$work/case$number"
  cp -R "$base" "$tree"
  printf '%b\n' "$lines" >"$tree/$file"
  output=$(python3 "$check" --root "$tree" 2>&1)
  status=$?
  shown="case $number ($file: $(printf '%b' "$lines" | tr '\n' ' '))"
  if [[ $expected == ok ]]; then
    [[ $status -eq 0 ]] || fail "$shown: refused (exit $status): $output"
  elif [[ $status -ne 1 ]]; then
    fail "$shown: exit $status, expected 1: $output"
  elif ! grep -qF "$file:" <<<"$output"; then
    fail "$shown: the message does not name $file: $output"
  fi
  rm -rf "$tree"
done

if ((failures)); then
  echo "check_deps_test: $failures failed"
  exit 1
fi
echo "check_deps_test: unchanged tree and ${#cases[@]} planted includes as expected"
