#!/usr/bin/env bash
# What each part of scripts/setup costs a fresh Debian 12: packages, download and disk, from apt's
# own simulation. "Fresh" is this machine's Essential and required packages with what they depend
# on (about what a debian:12 container holds), written to a private dpkg status file; apt plans
# against it and against an empty download cache, so nothing is installed or fetched.
# usage: bench/setup_size.sh
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/archives/partial"

seeds=$(dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' | awk '$2 == "yes" || $3 == "required" {print $1}')
# usrmerge (and the perl it pulls in) and elogind are this machine's; a container has neither.
apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $seeds 2>/dev/null | grep -v '^ ' | sed 's/:amd64$//' | sort -u |
  grep -vx -e usrmerge -e 'lib.*-perl' -e libelogind0 >"$work/base"
awk 'NR == FNR { want[$1] = 1; next }
     /^Package: / { keep = ($2 in want) }
     keep' "$work/base" /var/lib/dpkg/status >"$work/status"

apt_opts=(-o Debug::NoLocking=1 -o "Dir::State::status=$work/status" -o "Dir::Cache::archives=$work/archives/")
apt-get -s "${apt_opts[@]}" check >/dev/null || { echo "the base set is not consistent" >&2; exit 1; }
echo "base: $(grep -c '^Package: ' "$work/status") packages"
for parts in product "product windows" "product windows tests"; do
  mapfile -t packages < <(bash scripts/setup --list $parts)
  download=$(apt-get --print-uris -qq "${apt_opts[@]}" install --no-install-recommends "${packages[@]}" |
    awk '/^\x27/ { n++; bytes += $3 } END { printf "%d packages, %.0f MB to download", n, bytes / 1e6 }')
  # A simulation does not total the disk space: the packages' own Installed-Size (KiB) does.
  disk=$(apt-get -s "${apt_opts[@]}" install --no-install-recommends "${packages[@]}" |
    awk '/^Inst / { print $2 }' | xargs apt-cache show --no-all-versions |
    awk '/^Installed-Size: / { kib += $2 } END { printf "%.0f MB on disk", kib * 1024 / 1e6 }')
  echo "setup $parts: $download, $disk"
done
