#!/usr/bin/env bash
# lumoractl.exe's export through Wine's ADO beside its built-in engine's and mdb-export's, on one
# Access file: ado_export_test.sh WINE-RUN LUMORACTL.EXE. Run by scripts/odbc/with-test-sources,
# which names the file (LUMORA_ODBC_MDB_FILE, a Windows name) and its data source through
# mdbtools' ODBC driver (LUMORA_ODBC_MDB). Exits 77 (skipped) with the reason when ADO reads no
# rows there; any other difference is a failure.
set -euo pipefail
wine_run=$1
ctl=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$LUMORA_ODBC_MDB_FILE
unix_file=$(printf '%s' "${file#Z:}" | tr '\\' /)
run() { "$wine_run" "$ctl" --encoding utf-8 "$@" | tr -d '\r'; }

run catalogue create "$file"
run catalogue add "$file" 127.0.0.1 --remark '收银台，二楼' >/dev/null
run catalogue add "$file" 127.0.0.2 --port 3390 --user root >/dev/null
run catalogue export "$file" >"$work/built-in.csv"
mdb-export "$unix_file" Server >"$work/mdb-export.csv"
cmp "$work/built-in.csv" "$work/mdb-export.csv"

if ! run catalogue export "$file" --ado "Provider=MSDASQL;Data Source=$LUMORA_ODBC_MDB" \
    >"$work/ado.csv" 2>"$work/ado.err"; then
  cat "$work/ado.err" >&2
  if grep -q 'cannot read table Server through' "$work/ado.err"; then
    echo "Wine's ADO: the export opens table Server by name (adCmdTable); Wine's Recordset.Open" \
      "hands the bare name to the driver as SQL text, which mdbtools refuses (syntax error)" >&2
    exit 77
  fi
  exit 1
fi
cmp "$work/built-in.csv" "$work/ado.csv"
