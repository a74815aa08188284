#!/usr/bin/env bash
# The Debian 13 root the field tests run in.
#   root.sh build          make the root unless the cache holds one for today's package list; print its path
#   root.sh run CMD ARG... run CMD inside the root (as root), with /proc, /sys, /dev, /dev/shm, the
#                          source tree (read-only, /src/smokedrift) and the build folder (/build)
#                          bound in, in a mount, pid and network namespace of its own
#   root.sh path           print where the root of today's package list is (or would be)
# The root lives outside the tree, under $SMOKEDRIFT_FIELD_CACHE (default /var/cache/smokedrift-field),
# in a folder named after the hash of the package list and of the recipe: a change to either makes
# a new root, and the old ones are removed once it is complete. It is built in a temporary folder and renamed, so a build
# that is interrupted leaves nothing that looks finished.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
cache=${SMOKEDRIFT_FIELD_CACHE:-/var/cache/smokedrift-field}
list="$here/packages"
# The root's build of the tree, outside the root (so that several checkouts can share one root);
# /build inside.
build_dir=${SMOKEDRIFT_FIELD_BUILD:-$source_dir/build-field}
suite=trixie

[ "$(id -u)" = 0 ] || { echo "root.sh: needs root (mmdebstrap, chroot, mounts)" >&2; exit 77; }
command -v mmdebstrap >/dev/null || { echo "root.sh: mmdebstrap is missing (scripts/setup tests)" >&2; exit 77; }

packages=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | tr -d ' \t' | sort -u | paste -sd,)

# The Debian mirror apt already uses here (its first non-security URI), so the root comes from the
# same place the machine's own packages do.
mirror() {
  local uri
  uri=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
          /etc/apt/sources.list.d/*.sources |
        grep -oE '(https?|file)://[^ ]+' | grep -E '/debian/?$' | grep -v security | head -n1 || true)
  echo "${uri:-http://deb.debian.org/debian}"
}

build() {
  mkdir -p "$cache"
  exec 9>"$cache/lock"
  flock 9
  if [ -d "$root" ]; then echo "$root"; return; fi
  local tmp="$cache/.building-$hash"
  rm -rf "$tmp"
  # kwin_wayland and org_kde_powerdevil carry file capabilities that exec refuses in a container;
  # a plain copy in their place runs (KWin checks its own path, so the name must stay). D-Bus
  # wants a machine id, which mmdebstrap leaves empty for the first boot.
  mmdebstrap --variant=apt --mode=root --aptopt='APT::Install-Recommends "false"' \
    --include="$packages" \
    --customize-hook='for f in $(find "$1/usr/bin" "$1/usr/lib" -name kwin_wayland -o -name org_kde_powerdevil); do cp "$f" "$f.plain" && mv -f "$f.plain" "$f"; done' \
    --customize-hook='chroot "$1" dbus-uuidgen >"$1/etc/machine-id"' \
    "$suite" "$tmp" "$(mirror)" >&2
  mv -T "$tmp" "$root"
  # Roots of earlier package lists.
  find "$cache" -mindepth 1 -maxdepth 1 -type d ! -name "$hash" -exec rm -rf {} +
  echo "$root"
}

# The root's name: the package list and the way it is made (this script's build function).
hash=$(printf '%s\n%s\n%s\n' "$suite" "$packages" "$(declare -f build)" | sha256sum | cut -c1-16)
root="$cache/$hash"

# Inside a private mount, pid and network namespace: every mount goes with the namespace, every
# process the command leaves is killed when its first process ends, and the abstract sockets (X
# displays) of the tests inside are apart from those of the tests outside, which run at the same
# time. The trap unmounts in order anyway.
run() {
  [ -d "$root" ] || { echo "root.sh: no root for this package list; run 'root.sh build'" >&2; exit 1; }
  exec unshare --mount --pid --net --fork --propagation private --kill-child \
    bash "$here/root.sh" inside "$@"
}

mounted=()
inside() {
  cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  }
  trap cleanup EXIT
  mount -t proc proc "$root/proc" && mounted+=("$root/proc")
  mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys" && mounted+=("$root/sys")
  mount --bind /dev "$root/dev" && mounted+=("$root/dev")
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm" && mounted+=("$root/dev/shm")
  # /run as on a machine booted with systemd: GNOME Shell talks to logind (the tests' stand-in)
  # only where systemd's seat folder exists.
  mount -t tmpfs -o mode=755 run "$root/run" && mounted+=("$root/run")
  mkdir -p "$root/run/lock" "$root/run/systemd/seats"
  mkdir -p "$root/src/smokedrift" "$root/build" "$build_dir"
  mount --bind -o ro "$source_dir" "$root/src/smokedrift" && mounted+=("$root/src/smokedrift")
  mount --bind "$build_dir" "$root/build" && mounted+=("$root/build")
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" "$@"
}

case "${1:-}" in
  build) build ;;
  run) shift; run "$@" ;;
  inside) shift; inside "$@" ;;
  path) echo "$root" ;;
  *) echo "usage: root.sh build | run CMD [ARG...] | path" >&2; exit 2 ;;
esac
