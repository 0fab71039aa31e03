#!/bin/bash
# `cmake --install` of this build into a scratch prefix: the three programs,
# the desktop entry, the icon, the AppStream metainfo, the examples, the
# copyright file and the man pages land where a desktop looks for them, and the
# metadata passes the freedesktop validators (skipped with a message where a
# validator is not installed).
set -u
tool=$(readlink -f "$1")
build=$(dirname "$tool")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home
id=io.github.altorintool.AltorinTool
. "$(dirname "$0")/../common/checks.sh"

if ! cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    fail "cmake --install"
fi
for f in bin/altorintool bin/altorin-convert bin/altorin-setup bin/altorin-logbook share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
    share/doc/altorintool/examples/LOG00001.CSV share/doc/altorintool/examples/LOG00002.CSV \
    share/doc/altorintool/examples/SETUPUPL.HEX share/doc/altorintool/examples/README.md \
    share/doc/altorintool/copyright share/man/man1/altorintool.1.gz \
    share/man/man1/altorin-convert.1.gz share/man/man1/altorin-setup.1.gz \
    share/man/man1/altorin-logbook.1.gz; do
    [ -f "$work/usr/$f" ] || fail "not installed: $f"
done
[ "$("$work/usr/bin/altorin-convert" --version)" = "altorin-convert V0.45" ] ||
    fail "installed altorin-convert --version"
[ "$("$work/usr/bin/altorin-setup" --version)" = "altorin-setup V0.45" ] ||
    fail "installed altorin-setup --version"

# The desktop entry names the installed program and icon.
grep -qx "Exec=altorintool %F" "$work/usr/share/applications/$id.desktop" || fail "Exec line"
grep -qx "MimeType=text/csv;" "$work/usr/share/applications/$id.desktop" || fail "MimeType line"
grep -qx "Icon=$id" "$work/usr/share/applications/$id.desktop" || fail "Icon line"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$work/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo launchable"
# Software centres find a command by the metainfo: every installed program is named.
for program in "$work"/usr/bin/*; do
    grep -q "<binary>$(basename "$program")</binary>" "$work/usr/share/metainfo/$id.metainfo.xml" ||
        fail "metainfo does not provide $(basename "$program")"
done

# validate NAME COMMAND...: runs a validator, or says it was skipped.
validate() {
    local name=$1
    shift
    if ! command -v "$1" >/dev/null; then
        echo "SKIPPED: $name ($1 not installed)"
        return
    fi
    "$@" >"$work/validate.log" 2>&1 || { cat "$work/validate.log" >&2; fail "$name"; }
}
validate "desktop entry" desktop-file-validate "$work/usr/share/applications/$id.desktop"
validate "metainfo" appstreamcli validate --no-net "$work/usr/share/metainfo/$id.metainfo.xml"
# The copyright file in the machine-readable format: a header, a Files
# paragraph and the full text of every license it names.
copyright=$work/usr/share/doc/altorintool/copyright
head -n 1 "$copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "copyright: Format line"
grep -qx "Files: \*" "$copyright" || fail "copyright: Files paragraph"
for license in $(sed -n 's/^License: \(.*\)/\1/p' "$copyright" | sort -u); do
    [ "$(grep -cx "License: $license" "$copyright")" -ge 2 ] || fail "copyright: no text of $license"
done
grep -q "<project_license>$(sed -n 's/^License: //p' "$copyright" | head -n 1)</project_license>" \
    "$work/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo license differs from copyright"
# The man pages render without warnings (where man is installed).
if command -v man >/dev/null; then
    for page in altorintool altorin-convert altorin-setup; do
        warnings=$(man --warnings -l "$work/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man page $page: $warnings"
    done
else
    echo "SKIPPED: man pages (man not installed)"
fi
validate "icon" xmllint --noout "$work/usr/share/icons/hicolor/scalable/apps/$id.svg"

finish "install checks"
