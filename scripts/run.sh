#!/bin/sh
# Sets up, builds and starts Vistado on a JPEG file or a folder of JPEG files.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target vistado
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: Vistado opens a window, but no display is set (DISPLAY)" >&2
    exit 1
fi
exec "$root/build/src/app/vistado" "$@"
