#!/usr/bin/env bash
# Starts the program from its build folder. When no unit answers on the ports the
# station settings (Quorvane.ini) name, the simulated unit is started first and
# published as ttySAD in the program folder, the first port those settings list.
# With no display, the program runs under Xvfb.
set -u
bin=${1:-build/bin}
cd "$bin" || exit 1
sim_pid=
if [ -x ./sadsim ] && ! ./quorvane-cli test > /dev/null 2>&1; then
  ./sadsim --link "$PWD/ttySAD" > sadsim.log 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -e ttySAD ] && break; sleep 0.1; done
  echo "Simulated unit on $(head -n 1 sadsim.log) (ttySAD)"
fi
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ./quorvane
else
  ./quorvane
fi
