#!/bin/sh
# Installs the Debian packages Vistado needs to build, test and run.
# Packages already present are skipped, so a second run is quick.
set -eu

PACKAGES="build-essential cmake pkg-config git
qt6-base-dev libcurl4-openssl-dev libjpeg62-turbo-dev libjpeg-turbo-progs
libgeonames-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
libimage-exiftool-perl xvfb xauth fonts-dejavu-core
nlohmann-json3-dev librsvg2-bin desktop-file-utils appstream man-db"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
