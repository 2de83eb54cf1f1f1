#!/bin/sh
# instalar_usar_purgar.sh DEB: on a machine where it runs as root, the package is
# installed with apt, the demo is opened from the desktop (xdg-open under Xvfb, through
# the file type) and must come up with its windows, the companion reads the installed
# demo, and a purge must leave nothing of the package behind.
set -u
deb=$(readlink -f "$1")
if [ "$(id -u)" != 0 ]; then
	echo "installing a package needs root: skipped"
	exit 77
fi
if dpkg-query -W -f='${Status}\n' quorvane 2>/dev/null | grep -q ' installed$'; then
	echo "quorvane is installed on this machine and is left alone: skipped"
	exit 77
fi
for herramienta in apt-get xvfb-run xdg-open xdg-mime mimetype xdotool systemctl systemd-analyze; do
	if ! command -v "$herramienta" >/dev/null; then
		echo "$herramienta is not installed (make test installs it)" >&2
		exit 1
	fi
done

trabajo=$(mktemp -d)
instalado=
limpiar() {
	[ -n "$instalado" ] && apt-get purge -y -qq quorvane >/dev/null 2>&1
	rm -rf "$trabajo"
}
trap limpiar EXIT
fallo() {
	echo "FAIL: $*" >&2
	exit 1
}
export DEBIAN_FRONTEND=noninteractive

apt-get install -y -qq --no-install-recommends "$deb" > "$trabajo/apt.log" 2>&1 ||
	fallo "apt-get install $deb: $(cat "$trabajo/apt.log")"
instalado=1
dpkg-query -L quorvane > "$trabajo/ficheros"
ejemplos=/usr/share/quorvane/ejemplos
demo=$ejemplos/demo.qvn

# What the package set up: pages, the relay service (there, valid, not enabled), file types.
[ "$(man -w quorvane-cli)" = /usr/share/man/man1/quorvane-cli.1.gz ] || fallo "man quorvane-cli"
[ "$(man -w -L es quorvane)" = /usr/share/man/es/man1/quorvane.1.gz ] || fallo "Spanish man quorvane"
systemd-analyze verify /lib/systemd/system/quorvane-relay.service || fallo "quorvane-relay.service does not verify"
estado=$(systemctl is-enabled quorvane-relay.service 2>&1)
[ "$estado" = disabled ] || fallo "quorvane-relay.service is $estado, not disabled"
[ "$(xdg-mime query filetype "$demo")" = application/x-quorvane-signals ] || fallo "type of $demo"
# A configuration is known by its content, whatever its name.
cp "$ejemplos/demo.cfg" "$trabajo/sin-extension"
[ "$(mimetype -b "$trabajo/sin-extension")" = application/x-quorvane-config ] || fallo "type of a configuration"
[ "$(xdg-mime query default application/x-quorvane-signals)" = quorvane.desktop ] || fallo "no program for signal files"

# The demo opened from the desktop: the program comes up titled with the file, its
# windows open. A user's own folders, so that nothing of the run stays on the machine;
# the X display, not the test suite's offscreen platform.
mkdir -p "$trabajo/casa" && mkdir -m 700 "$trabajo/run"
unset QT_QPA_PLATFORM
HOME=$trabajo/casa XDG_CONFIG_HOME=$trabajo/casa/.config XDG_RUNTIME_DIR=$trabajo/run \
	xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
	xdg-open "$1" > "$2/xdg-open.log" 2>&1 &
	abridor=$!
	ventana=
	for _ in $(seq 300); do
		ventana=$(xdotool search --name "^QUORVANE - demo\.qvn$" 2>/dev/null | head -n 1)
		[ -n "$ventana" ] && break
		sleep 0.2
	done
	pid=$(xdotool getwindowpid "$ventana" 2>/dev/null)
	# xdg-open waits for the program and would try other openers once it ends: it goes first.
	kill "$abridor" 2>/dev/null
	if [ -z "$pid" ]; then
		echo "no window titled with the demo; xdg-open said:" >&2
		cat "$2/xdg-open.log" >&2
		exit 1
	fi
	programa=$(readlink "/proc/$pid/exe")
	argumentos=$(tr "\0" "\n" < "/proc/$pid/cmdline")
	kill "$pid"
	[ "$programa" = /usr/lib/quorvane/quorvane ] || { echo "the window is of $programa" >&2; exit 1; }
	printf "%s\n" "$argumentos" | grep -qxF "$1" || { echo "started as: $argumentos" >&2; exit 1; }
	' sh "$demo" "$trabajo" || fallo "the demo does not open from the desktop"

informe=$(quorvane-cli info "$demo") || fallo "quorvane-cli info $demo"
printf '%s\n' "$informe" | grep -qx 'content: signals' || fallo "quorvane-cli info: $informe"

apt-get purge -y -qq quorvane > "$trabajo/apt.log" 2>&1 || fallo "apt-get purge: $(cat "$trabajo/apt.log")"
instalado=
# Every file is gone, and every folder of its own (shared folders stay).
quedan=$(while read -r ruta; do
	if [ -d "$ruta" ]; then
		case $ruta in *quorvane*) echo "$ruta" ;; esac
	elif [ -e "$ruta" ] || [ -L "$ruta" ]; then
		echo "$ruta"
	fi
done < "$trabajo/ficheros")
[ -z "$quedan" ] || fallo "left after purge: $quedan"
[ ! -e /etc/quorvane ] || fallo "/etc/quorvane left after purge"
servicio=$(find /etc/systemd /var/lib/systemd -name '*quorvane*' 2>/dev/null)
[ -z "$servicio" ] || fallo "the relay service left: $servicio"
[ ! -e /usr/share/mime/application/x-quorvane-signals.xml ] || fallo "the file type is still known"
! grep -qs quorvane /usr/share/applications/mimeinfo.cache || fallo "the desktop still offers the program"
echo "installed, opened, read and purged"
