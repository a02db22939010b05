#!/bin/sh
# Sets up, builds and runs Vistado without a window: ./scripts/run.sh DIR finds the place of
# every photo of DIR (a folder or one JPEG file; none: the current directory) and writes it
# into the photo, printing the run log. A first argument beginning with "--" chooses the
# command: ./scripts/run.sh --gps-sichern DIR backs the positions up.
# Standard output carries only the run log; set-up and build report on standard error.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$root/build" -j"$(nproc)" --target vistado >&2
case "${1:-}" in
--*) exec "$root/build/src/app/vistado" "$@" ;;
*) exec "$root/build/src/app/vistado" --orte "$@" ;;
esac
