#!/usr/bin/env bash
# Starts the program with the simulated unit when no real unit answers. The program
# folder is the argument, or the folder this script is installed in, or build/bin.
# The simulated unit is published as ttySAD in the program folder, the first port the
# station settings (Quorvane.ini) list. An installed folder cannot be written: the
# unit's link then goes to the user's runtime folder, and the user's own settings
# (which hold only what the user changed) name it as the first port. With no display,
# the program runs under Xvfb.
set -u
if [ $# -ge 1 ]; then
  bin=$1
else
  aqui=$(dirname -- "$(readlink -f -- "$0")")
  if [ -x "$aqui/quorvane" ]; then bin=$aqui; else bin=build/bin; fi
fi
cd "$bin" || exit 1

if [ -w . ]; then
  trabajo=$PWD
  enlace=$PWD/ttySAD
else
  trabajo="${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/quorvane-$(id -u)"
  mkdir -p -m 700 "$trabajo" 2>/dev/null
  if ! [ -d "$trabajo" ] || ! [ -O "$trabajo" ]; then
    echo "run-with-sim: no private folder $trabajo" >&2
    exit 1
  fi
  enlace=$trabajo/ttySAD
  config="${XDG_CONFIG_HOME:-$HOME/.config}/Quorvane"
  ini=$config/Quorvane.ini
  mkdir -p "$config" || exit 1
  if ! grep -qi '^[[:space:]]*PuertosSerie[[:space:]]*=' "$ini" 2>/dev/null; then
    # The folder's ports, as the user's own setting; every other key stays the folder's.
    puertos=$(sed -n 's/^[[:space:]]*PuertosSerie[[:space:]]*=[[:space:]]*//p' Quorvane.ini | head -n 1 | tr -d '\r')
    { [ -s "$ini" ] && printf '\r\n'; printf '[ConfiguracionSAD]\r\nPuertosSerie=%s\r\n' "$puertos"; } >> "$ini"
  fi
  # Only the shipped first port (the folder's ttySAD) is replaced; a station the user
  # set up otherwise keeps its ports.
  sed -i "s|^PuertosSerie=ttySAD,|PuertosSerie=$enlace,|" "$ini"
fi

sim_pid=
if [ -x ./sadsim ] && ! ./quorvane-cli test > /dev/null 2>&1; then
  ./sadsim --link "$enlace" > "$trabajo/sadsim.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -e "$enlace" ] && break; sleep 0.1; done
  echo "Simulated unit on $(head -n 1 "$trabajo/sadsim.log") ($enlace)"
fi
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ./quorvane
else
  ./quorvane
fi
