# Sourced by the set-up scripts (scripts/setup, scripts/odbc/install, scripts/rdp/install): one
# `apt-get update` per set-up run, and installs that survive a package mirror caught mid-sync.
#
# A mirror that is mid-sync serves some indexes at a size its Release file does not promise, and
# `apt-get update` then exits 100 although every other index was fetched. Without, say, the
# security suite's i386 index, the amd64 half of a Multi-Arch: same library has a security
# version as candidate and its i386 half only the release's: apt cannot plan the install ("held
# broken packages"). Pinning the machine's release (`-t bookworm`) gives both halves one version.
#
# LUMORA_APT_GET names another apt-get (a stand-in for tests, which needs no root rights);
# LUMORA_OS_RELEASE another os-release file.

apt_say() { printf 'apt: %s\n' "$*" >&2; }

# apt-get as root (directly, or through sudo), never asking a question, waiting for another apt.
apt_get() {
  local -a command=(env DEBIAN_FRONTEND=noninteractive "${LUMORA_APT_GET:-apt-get}" -q
    -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3 "$@")
  if [[ $EUID -eq 0 || -n ${LUMORA_APT_GET:-} ]]; then
    "${command[@]}"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "${command[@]}"
  else
    apt_say "error: root rights are needed for apt-get $1 (run as root or install sudo)"
    return 1
  fi
}

# The package lists, fetched once for this run and the set-up scripts it starts. Indexes that
# cannot be fetched are named and left out: what was fetched is enough for most installs.
apt_update_once() {
  [[ ${LUMORA_APT_UPDATED:-0} == 1 ]] && return 0
  local output lines
  if ! output=$(apt_get update 2>&1); then
    apt_say "warning: apt-get update could not fetch every package index; going on without them:"
    lines=$(grep -E '^(E|W|Err):' <<<"$output" || tail -n 5 <<<"$output")
    [[ -z $lines ]] || printf '%s\n' "$lines" | sed 's/^/  /' >&2
  fi
  export LUMORA_APT_UPDATED=1
}

# The machine's release name (bookworm), or nothing (also when there is no os-release file).
apt_release() {
  (
    # shellcheck disable=SC1090
    . "${LUMORA_OS_RELEASE:-/etc/os-release}" 2>/dev/null && printf '%s' "${VERSION_CODENAME:-}"
  ) || true
}

# apt_install [apt-get options] PACKAGE...: installs, and when apt cannot plan that, tries again
# with the release pinned. Fails with apt's own last lines and what to do.
apt_install() {
  apt_update_once
  local log release
  log=$(mktemp)
  if apt_get install -y "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  release=$(apt_release)
  if [[ -n $release ]]; then
    apt_say "apt-get install failed; trying again with the release pinned (-t $release)"
    if apt_get install -y -t "$release" "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
  fi
  apt_say "error: apt-get install failed for: $*"
  apt_say "apt-get said:"
  { grep -v '^$' "$log" || true; } | tail -n 12 | sed 's/^/  /' >&2
  rm -f "$log"
  apt_say "the package mirror may be mid-sync: run again later"
  return 1
}

# Names of those PACKAGEs (name or name:arch) that are not installed.
apt_missing() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      printf '%s\n' "$package"
  done
}
