#!/bin/sh
# validar_paquete.sh DEB: the package as a Debian maintainer checks it (lintian at its
# default level: any error or warning fails), and its desktop entry, software-centre
# data and file types as the desktop tools check them.
set -u
deb=$1
for herramienta in lintian desktop-file-validate appstreamcli update-mime-database dpkg-deb; do
	if ! command -v "$herramienta" >/dev/null; then
		echo "$herramienta is not installed (make test installs it)" >&2
		exit 1
	fi
done
[ -f "$deb" ] || { echo "no package $deb" >&2; exit 1; }
fallo=0

# Root runs it on the build machines; lintian only warns about that, and not as a tag.
if ! lintian --allow-root --fail-on error,warning "$deb"; then
	echo "lintian: errors or warnings above" >&2
	fallo=1
fi

dentro=$(mktemp -d)
trap 'rm -rf "$dentro"' EXIT
dpkg-deb -x "$deb" "$dentro" || exit 1
desktop-file-validate "$dentro/usr/share/applications/quorvane.desktop" || fallo=1
for m in "$dentro"/usr/share/metainfo/*.metainfo.xml; do
	appstreamcli validate --no-net "$m" || fallo=1
done
# A file type the database cannot take is reported on standard error.
errores=$(XDG_DATA_DIRS="$dentro/usr/share" update-mime-database "$dentro/usr/share/mime" 2>&1 >/dev/null)
if [ -n "$errores" ] || [ ! -f "$dentro/usr/share/mime/application/x-quorvane-signals.xml" ]; then
	echo "shared-mime-info: $errores" >&2
	fallo=1
fi
exit $fallo
