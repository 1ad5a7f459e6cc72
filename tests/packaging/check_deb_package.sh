#!/usr/bin/env bash
# Builds the Debian package from a build folder as `cpack -G DEB` does it, under a strict
# umask, and checks what it holds, its control fields, and its desktop entry and AppStream
# metadata (with desktop-file-validate and appstreamcli where they are installed).
# Usage: check_deb_package.sh CPACK BUILD_DIR SOURCE_DIR APP_ID VERSION
set -euo pipefail
cpack=$1 build=$2 source=$3 id=$4 version=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

if ! (umask 077 && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" \
        >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log" >&2
  echo "FAILED: cpack" >&2
  exit 1
fi
deb="$work/out/quillet_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAILED: no $deb" >&2; exit 1; }

# Every entry with its mode and owner: nothing more (no test program, no build file), nothing
# less, and folders every user can enter whatever the builder's umask.
expected="drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/quillet
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/applications/
-rw-r--r-- root/root ./usr/share/applications/$id.desktop
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/quillet/
-rw-r--r-- root/root ./usr/share/doc/quillet/copyright
-rw-r--r-- root/root ./usr/share/doc/quillet/quillet.htm
drwxr-xr-x root/root ./usr/share/icons/
drwxr-xr-x root/root ./usr/share/icons/hicolor/
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/quillet.svg
drwxr-xr-x root/root ./usr/share/metainfo/
-rw-r--r-- root/root ./usr/share/metainfo/$id.metainfo.xml"
listed=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $6}' | sort)
if [ "$listed" != "$(sort <<<"$expected")" ]; then
  fail "contents differ (< expected, > in the package):"
  diff <(sort <<<"$expected") <(echo "$listed") >&2 || true
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillet ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture"
[ "$(field Section)" = editors ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# The libraries of the binary (found by dpkg-shlibdeps), then what no library names.
depends=$(field Depends)
for package in libc6 libqt6core6 libqt6widgets6 libqt6printsupport6 libicu72 \
               libpcre2-16-0 libfontconfig1 qt6-qpa-plugins qt6-translations-l10n \
               fonts-noto-cjk; do
  grep -Eq "(^|, )$package( \(|,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
entry="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
grep -qx 'Exec="/usr/bin/quillet" %f' "$entry" || fail "entry's Exec: $(grep Exec "$entry")"
grep -qx 'Icon=quillet' "$entry" || fail "entry's Icon"
cmp -s "$root/usr/share/doc/quillet/quillet.htm" "$source/src/res/quillet.htm" || fail "readme"
kind=$(file -b "$root/usr/bin/quillet")
case $kind in
  *ELF*"not stripped"*) fail "program not stripped: $kind" ;;
  *ELF*stripped*) ;;
  *) fail "program is no ELF file: $kind" ;;
esac
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "metainfo does not launch the entry"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no content rating"
for tag in summary p; do
  grep -q "<$tag xml:lang=\"ja\">" "$metainfo" || fail "no Japanese <$tag>"
done

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  echo "note: desktop-file-validate not installed; the entry was not validated"
fi
if command -v appstreamcli >/dev/null; then
  # The whole tree: the metadata, and the entry it launches there.
  appstreamcli validate-tree --no-net --no-color "$root" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log" >&2; fail "appstreamcli validate-tree"; }
else
  echo "note: appstreamcli not installed; the metadata was not validated"
fi

[ "$failures" -eq 0 ] || exit 1
echo "package $deb: $(dpkg-deb -c "$deb" | wc -l) entries, checked"
