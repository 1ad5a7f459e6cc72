#!/bin/sh
# Start-up of the real program, as a process, to its first painted empty window, on a
# virtual X display. Usage: measure-startup.sh BUILD_DIR [RUNS]
# Each run starts from a fresh settings folder, so no stored placement or file is involved.
set -eu
build=${1:?build directory}
runs=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/first_paint" "$here/first_paint.c" -lX11
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$work/first_paint" "$runs" "$build/src/quillet"
