#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when
# they are missing. Idempotent, asks nothing, fetches nothing but packages.
# Says what it installs and how far it is: on a minimal Debian 12 that is
# about 460 MB to download and 2.2 GB on disk, most of it Wine and the
# MinGW-w64 compiler. Its log is kept only when apt fails.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 python3-pytest googletest
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    # Wine draws the system's UI fonts with the Liberation fonts; Debian
    # installs them only as Wine's recommendation, which minimal systems
    # skip. The screenshots and the manager's layout tests expect them.
    wine wine64 fonts-wine fonts-liberation
    xvfb xauth openbox xdotool x11-apps x11-utils imagemagick
    attr liblnk-utils zip
    # The Windows Installer packages: wixl builds them, msitools (msibuild,
    # msiinfo) adds the tables wixl cannot write and reads them back;
    # osslsigncode signs the programs and packages, openssl makes the
    # tests' throw-away certificate.
    wixl msitools osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root, and sudo is not there. As root, run:" >&2
    echo "    apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing ${#missing[@]} Debian packages and what they need (on a minimal system about 460 MB to download, 2.2 GB on disk):"
echo "    ${missing[*]}"

log=$(mktemp --tmpdir ordnerlink-setup.XXXXXX.log)
failed() {
    echo "apt-get failed; its last lines (all of it in $log):" >&2
    tail -n 20 "$log" >&2
    exit 1
}

# Turns apt's machine-readable status lines ("dlstatus:..." while
# downloading, "pmstatus:..." while unpacking and setting up) into a line for
# every tenth of the way, which reads well on a terminal and in a CI log.
# Before the first one, apt has written how much it fetches to its log.
show_progress() {
    local kind _ percent _ shown=-1 phase=
    while IFS=: read -r kind _ percent _; do
        if [ -z "$phase" ]; then
            grep -E '^(Need to get|After this operation)' "$log" | sed 's/^/  /' || true
        fi
        case $kind in
        dlstatus) [ "$phase" = download ] || { phase=download shown=-1; } ;;
        pmstatus) [ "$phase" = install ] || { phase=install shown=-1; } ;;
        *) continue ;;
        esac
        percent=${percent%%.*}
        [ $((percent / 10)) -gt "$shown" ] || continue
        shown=$((percent / 10))
        if [ "$phase" = download ]; then
            echo "  downloading: $((shown * 10)) %"
        else
            echo "  unpacking and setting up: $((shown * 10)) %"
        fi
    done
}

export DEBIAN_FRONTEND=noninteractive
# Waits for another apt run to finish instead of failing on its lock.
apt_options=(-o DPkg::Lock::Timeout=600)
echo "  reading the package lists"
"${as_root[@]}" apt-get "${apt_options[@]}" update >"$log" 2>&1 || failed
"${as_root[@]}" apt-get "${apt_options[@]}" install -y -o APT::Status-Fd=3 "${missing[@]}" \
    3>&1 >>"$log" 2>&1 | show_progress || failed
rm -f "$log"
echo "Installed."
