#!/usr/bin/env bash
# scripts/apt.sh through the set-up scripts that use it, against a stand-in apt-get whose
# `update` fails as on a mirror caught mid-sync and whose `install` cannot plan the packages
# unless the release is pinned (or ever). No root rights needed; the real apt-get, dpkg and sudo
# are never run (stand-ins on PATH record any call to them).
#   apt_test.sh [SOURCE_DIR]
set -u
source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
calls="$work/calls"
mkdir -p "$work/bin" "$work/pinned" "$work/never"
printf 'ID=debian\nVERSION_CODENAME=bookworm\n' >"$work/os-release"

# apt_standin DIR PINNED: an apt-get that records its calls; its install works only with -t when
# PINNED is yes, never when it is no.
apt_standin() {
  cat >"$1/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >>"$calls"
command= pinned=no
for arg in "\$@"; do
  case \$arg in
    update | install) [[ -n \$command ]] || command=\$arg ;;
    -t) pinned=$2 ;;
  esac
done
case \$command in
  update)
    echo "Hit:1 http://deb.debian.org/debian bookworm InRelease"
    echo "Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (123 != 456). Mirror sync in progress? [IP: 192.0.2.1 80]"
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (123 != 456). Mirror sync in progress? [IP: 192.0.2.1 80]"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  install)
    echo "Reading package lists..."
    if [[ \$pinned == yes ]]; then
      echo "Setting up the packages..."
      exit 0
    fi
    echo "Some packages could not be installed. This may mean that you have"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100 ;;
esac
echo "UNEXPECTED apt-get \$*" >>"$calls"
exit 1
EOF
  chmod +x "$1/apt-get"
}
apt_standin "$work/pinned" yes
apt_standin "$work/never" no

# On PATH: every package is missing; the system's own tools only record that they were called.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
printf 'unknown ok not-installed'
EOF
cat >"$work/bin/dpkg" <<EOF
#!/bin/sh
case "\$1" in
  --print-foreign-architectures) exit 0 ;;
  --add-architecture) echo "dpkg \$*" >>"$calls"; exit 0 ;;
esac
echo "UNEXPECTED dpkg \$*" >>"$calls"; exit 1
EOF
cat >"$work/bin/odbcinst" <<EOF
#!/bin/sh
[ "\$1" = -q ] && exit 1
echo "odbcinst \$*" >>"$calls"
EOF
for tool in apt-get sudo; do
  printf '#!/bin/sh\necho "UNEXPECTED %s $*" >>"%s"\nexit 1\n' "$tool" "$calls" >"$work/bin/$tool"
done
chmod +x "$work/bin/"*

# script|environment (- for none)|stand-in|os-release|exit (0 or fail)|in the output (;-separated)|
#   calls: ERE=count (;-separated)
cases=(
  "rdp/install|-|pinned|$work/os-release|0|Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages;E: Failed to fetch;E: Some index files failed to download;trying again with the release pinned (-t bookworm)|^apt-get .* update\$=1;^apt-get .* install -y --no-install-recommends xrdp=1;^apt-get .* install -y -t bookworm --no-install-recommends xrdp .*openssl\$=1"
  "rdp/install|-|never|$work/os-release|fail|E: Unable to correct problems, you have held broken packages.;the package mirror may be mid-sync: run again later|^apt-get .* update\$=1;^apt-get .* install -y -t bookworm =1"
  "rdp/install|-|never|$work/no-os-release|fail|held broken packages;the package mirror may be mid-sync: run again later|^apt-get .* update\$=1;^apt-get .* install =1"
  "odbc/install|-|pinned|$work/os-release|0|E: Some index files failed to download|^dpkg --add-architecture i386\$=1;^apt-get .* update\$=1;^apt-get .* install -y -t bookworm libodbc2:i386 odbcinst odbc-mdbtools:i386 libsqliteodbc:i386\$=1;^odbcinst -i -d -f =2"
  # Started by scripts/setup after its own update: no second one.
  "rdp/install|LUMORA_APT_UPDATED=1|pinned|$work/os-release|0|trying again with the release pinned|^apt-get .* update\$=0;^apt-get .* install -y -t bookworm =1"
)

failures=0
number=0
for entry in "${cases[@]}"; do
  number=$((number + 1))
  IFS='|' read -r script environment standin os_release expected texts counts <<<"$entry"
  extra=()
  [[ $environment == - ]] || extra=("$environment")
  : >"$calls"
  output=$(env -u LUMORA_APT_UPDATED PATH="$work/bin:$PATH" LUMORA_APT_GET="$work/$standin/apt-get" \
    LUMORA_OS_RELEASE="$os_release" "${extra[@]}" bash "$source_dir/scripts/$script" 2>&1 </dev/null)
  status=$?
  problems=()
  if [[ $expected == 0 && $status -ne 0 ]] || [[ $expected == fail && $status -eq 0 ]]; then
    problems+=("exit $status, expected $expected")
  fi
  IFS=';' read -ra wanted <<<"$texts"
  for text in "${wanted[@]}"; do
    grep -qF -- "$text" <<<"$output" || problems+=("the output lacks '$text'")
  done
  IFS=';' read -ra wanted <<<"$counts;^UNEXPECTED=0"
  for count in "${wanted[@]}"; do
    found=$(grep -cE -- "${count%=*}" "$calls")
    [[ $found == "${count##*=}" ]] || problems+=("${found} calls match '${count%=*}', expected ${count##*=}")
  done
  if ((${#problems[@]})); then
    echo "FAIL: case $number ($script, $environment, apt-get $standin, $(basename "$os_release")):"
    printf '  %s\n' "${problems[@]}"
    echo "  output:"
    printf '%s\n' "$output" | sed 's/^/    /'
    echo "  calls:"
    sed 's/^/    /' "$calls"
    failures=$((failures + 1))
  fi
done

if ((failures)); then
  echo "apt_test: $failures failed"
  exit 1
fi
echo "apt_test: ${#cases[@]} set-up runs as expected"
