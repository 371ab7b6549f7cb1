#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs from it: the help pages and
# their links, the desktop entry, the file types and the icon; then builds the Debian package and checks
# that it holds exactly the files of the installation.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

share=$prefix/share
help=$share/tessera/help
entry=$share/applications/tessera.desktop
mime=$share/mime/packages/tessera.xml
icon=$share/icons/hicolor/scalable/apps/tessera.svg
for f in "$help/index.html" "$help/style.css" "$entry" "$mime" "$icon"; do
  [ -s "$f" ] || fail "not installed: ${f#"$prefix"/}"
done

# Every page is reachable from the contents, and every link leads to an installed file.
for page in "$help"/*.html; do
  name=$(basename "$page")
  [ "$name" = index.html ] || grep -q "href=\"$name\"" "$help/index.html" || fail "$name not in the contents"
  for target in $(grep -o 'href="[^"#:]*"' "$page" | sed 's/^href="//; s/"$//'); do
    [ -f "$help/$target" ] || fail "$name links to missing $target"
  done
  xmllint --html --noout "$page" 2>"$work/lint" || true
  [ -s "$work/lint" ] && fail "$name is not clean HTML: $(head -1 "$work/lint")"
done

# The desktop entry: valid, naming the installed icon and only file types the MIME package defines.
if ! validation=$(desktop-file-validate "$entry" 2>&1) || grep -qiE 'error|warning' <<<"$validation"; then
  fail "desktop-file-validate: $validation"
fi
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "no icon named '$icon_name'"
xmllint --noout "$icon" || fail "the icon is not well-formed SVG"

# The MIME package, compiled as the system would: each extension maps to a type the entry opens.
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
update-mime-database "$work/mime" 2>/dev/null || fail "update-mime-database rejected the package"
entry_types=$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n')
for ext in lif life rle hcf lfl; do
  type=$(awk -F: -v g="*.$ext" '$3 == g { print $2 }' "$work/mime/globs2" 2>/dev/null | head -1)
  if [ -z "$type" ]; then
    fail "no file type for .$ext"
  elif ! grep -qxF "$type" <<<"$entry_types"; then
    fail ".$ext is $type, which the desktop entry does not open"
  fi
done

# The batch tool, where the build installs it, runs from the prefix with the installed system library.
if [ -x "$prefix/bin/tessera-cli" ]; then
  printf 'x = 3, y = 1, rule = B3/S23\n3o!\n' >"$work/blinker.rle"
  summary=$(TESSERA_INI=$work/none.ini "$prefix/bin/tessera-cli" run "$work/blinker.rle" --generations 1 \
            --output "$work/out.rle" | tail -1)
  [ "$summary" = "generation=1 population=3 bounds=1,-1,2,2 rule=23/3" ] || fail "installed run: $summary"
  if [ -f "$share/tessera/syslib.lfl" ]; then
    TESSERA_INI=$work/none.ini "$prefix/bin/tessera-cli" library "$share/tessera/syslib.lfl" \
      | grep -q '^name=' || fail "the installed system library lists no pattern"
  fi
fi

# The Debian package holds what the installation holds, under /usr.
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./|/usr/|' | sort) >"$work/installed"
cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/package/*.deb 2>/dev/null | head -1)
if [ -z "$deb" ]; then
  fail "no package was made"
else
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort >"$work/packaged"
  diff "$work/installed" "$work/packaged" >&2 || fail "the package and the installation differ"
  [ "$(dpkg-deb -f "$deb" Package)" = tessera ] || fail "package name"
  if [ -x "$prefix/bin/tessera-cli" ]; then
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no library dependencies: $(dpkg-deb -f "$deb" Depends)"
  fi
fi

[ "$failures" -eq 0 ] && echo "installation and package checked"
exit $((failures > 0))
