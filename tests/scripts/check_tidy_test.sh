#!/usr/bin/env bash
# scripts/check-tidy over a small compile database, with stand-ins for run-clang-tidy: it passes
# only when every portable file was checked and nothing was found.
#   check_tidy_test.sh [SOURCE_DIR]
set -u
source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Three portable files (one named relative to its build directory) and an adapter, which
# check-tidy leaves out.
mkdir -p "$work/native" "$work/build" "$work/src/base" "$work/src/status" "$work/tools/lumoractl"
for file in src/base/text.cpp src/status/ip_address.cpp tools/lumoractl/main.cpp; do
  echo 'int f() { return 1; }' >"$work/$file"
done
echo '#pragma once' >"$work/src/base/text.h"
cat >"$work/native/compile_commands.json" <<EOF
[
 {"directory": "$work/build", "file": "$work/src/base/text.cpp", "command": "c++ -o text.o -c $work/src/base/text.cpp"},
 {"directory": "$work/build", "file": "../src/status/ip_address.cpp", "command": "c++ -o ip_address.o -c ../src/status/ip_address.cpp"},
 {"directory": "$work/build", "file": "$work/tools/lumoractl/main.cpp", "command": "c++ -Werror -o main.o -c $work/tools/lumoractl/main.cpp"},
 {"directory": "$work/build", "file": "$work/src/platform/win32/files.cpp", "command": "c++ -o files.o -c $work/src/platform/win32/files.cpp"}
]
EOF
# What the native build's compiler read for each object, as "ninja -t deps" lists it (paths as
# ninja records them, relative to the build directory, which here is the commands' one).
mkdir -p "$work/bin"
cat >"$work/bin/ninja" <<EOF
#!/usr/bin/env bash
cat <<'DEPS'
../build/text.o: #deps 2, deps mtime 1 (VALID)
    $work/src/base/text.cpp
    ../src/base/text.h

../build/ip_address.o: #deps 2, deps mtime 1 (VALID)
    ../src/status/ip_address.cpp
    ../src/base/text.h

../build/main.o: #deps 1, deps mtime 1 (VALID)
    $work/tools/lumoractl/main.cpp

DEPS
EOF
chmod +x "$work/bin/ninja"

# standin NAME FILES LAST: a run-clang-tidy that prints, as run-clang-tidy-14 does, a clang-tidy
# command line (the file last) for each of the first FILES files (all: every one), then runs LAST.
standin() {
  local name="$1" files="$2" after="$3"
  mkdir -p "$work/$name"
  cat >"$work/$name/run-clang-tidy" <<EOF
#!/usr/bin/env bash
while [[ \$# -gt 0 && \$1 != -p ]]; do shift; done
build="\$2"
python3 - "\$build" "$files" <<'PY'
import json, os, sys
build, count = sys.argv[1:3]
names = sorted({e["file"] if os.path.isabs(e["file"]) else os.path.normpath(os.path.join(e["directory"], e["file"]))
                for e in json.load(open(os.path.join(build, "compile_commands.json")))})
for name in names[: len(names) if count == "all" else int(count)]:
    print(f"clang-tidy-14 --use-color -p={build} -quiet {name}")
PY
$after
EOF
  chmod +x "$work/$name/run-clang-tidy"
}
standin missing 0 "exit 127"
standin some 2 "exit 0"
standin failing all "exit 1"
standin finding all "echo '$work/src/base/text.cpp:3:1: warning: redundant [readability-redundant-x]'"
standin clean all "exit 0"

# stand-in|expected exit status|expected in the output
cases=(
  "missing|1|run-clang-tidy failed (exit 127)"
  "some|1|1 files were not checked"
  "failing|1|run-clang-tidy failed (exit 1)"
  "finding|1|1 findings"
  "clean|0|check-tidy: no findings"
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name expected text <<<"$entry"
  rm -rf "$work/tidy"
  output=$(PATH="$work/$name:$work/bin:$PATH" LUMORA_TIDY_NATIVE_DIR="$work/native" \
    LUMORA_TIDY_OUT_DIR="$work/tidy" bash "$source_dir/scripts/check-tidy" 2>&1)
  status=$?
  if [[ $status -ne $expected ]] || ! grep -qF -- "$text" <<<"$output"; then
    echo "FAIL: stand-in '$name': exit $status (expected $expected), output lacks '$text':"
    printf '%s\n' "$output" | sed 's/^/  /'
    failures=$((failures + 1))
  fi
done
if ! cut -f1 "$work/tidy/files.txt" | grep -qx "$work/src/status/ip_address.cpp" ||
  grep -q win32 "$work/tidy/files.txt" 2>/dev/null; then
  echo "FAIL: the checked files are not the portable ones:"
  sed 's/^/  /' "$work/tidy/files.txt"
  failures=$((failures + 1))
fi

# After a clean check nothing unchanged is checked again (a run-clang-tidy that cannot start is
# not needed); a changed file is.
tidy_with() {  # stand-in
  PATH="$work/$1:$work/bin:$PATH" LUMORA_TIDY_NATIVE_DIR="$work/native" LUMORA_TIDY_OUT_DIR="$work/tidy" \
    bash "$source_dir/scripts/check-tidy" >"$work/out" 2>&1
}
if ! tidy_with missing || ! grep -q "3 unchanged since a clean check" "$work/out"; then
  echo "FAIL: files found clean before were checked again:"
  sed 's/^/  /' "$work/out"
  failures=$((failures + 1))
fi
# A changed file is checked again, and so is each file that includes a changed header.
for change in "src/base/text.cpp|1" "src/base/text.h|2"; do
  IFS='|' read -r file again <<<"$change"
  tidy_with clean
  echo '// changed' >>"$work/$file"
  if tidy_with missing || ! grep -q "$((3 - again)) unchanged since a clean check" "$work/out"; then
    echo "FAIL: after a change of $file, not $again files were checked again:"
    sed 's/^/  /' "$work/out"
    failures=$((failures + 1))
  fi
done

if ((failures)); then
  echo "check_tidy_test: $failures failed"
  exit 1
fi
echo "check_tidy_test: ${#cases[@]} stand-ins as expected"
