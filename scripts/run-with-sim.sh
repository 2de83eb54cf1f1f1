#!/usr/bin/env bash
# Starts the program from its build folder; when the simulated unit is built, it is
# started first and published as ttySAD in the program folder, which the program's
# serial search probes first. With no display, the program runs under Xvfb.
set -u
bin=${1:-build/bin}
cd "$bin" || exit 1
sim_pid=
if [ -x ./sadsim ]; then
  ./sadsim --link "$PWD/ttySAD" > sadsim.log 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -e ttySAD ] && break; sleep 0.1; done
fi
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a ./quorvane
else
  ./quorvane
fi
