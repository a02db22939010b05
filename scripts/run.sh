#!/bin/sh
# Sets up, builds and starts Vistado on a JPEG file or a folder of JPEG files.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target vistado
exec "$root/build/src/app/vistado" "$@"
