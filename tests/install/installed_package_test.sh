#!/usr/bin/env bash
# The Debian package on its own: unpacked into a scratch root and moved once
# more, so no path known at build or package time can be what its programs
# use. They must find their font aliases and help page in ../share/glyphary,
# draw a Windows face name with the IPA face and keep their settings in the
# user's folder; the Python module must find them from its own place.
# Usage: installed_package_test.sh BUILD_DIR GUI_BUILT VERSION PYTHON_BUILT
set -euo pipefail
build=$(cd "$1" && pwd)
gui=${2:-ON}
version=$3
python=${4:-OFF}
id=io.github.glyphary.Glyphary
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { local what=$1; shift; "$@" >/dev/null 2>&1 || fail "$what"; }

# --- the package
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/pkg" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb="$scratch/pkg/glyphary_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$scratch/pkg" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libpango-1.0-0 libcairo2 libfontconfig1 zlib1g \
                  libjpeg62-turbo fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -qw -- "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $depends"
done

dpkg-deb -x "$deb" "$scratch/root"
prefix="$scratch/moved"
mv "$scratch/root/usr" "$prefix"

installed=(bin/glyphary-cli share/glyphary/fonts/glyphary-fonts.conf
           share/glyphary/help/index.htm share/man/man1/glyphary-cli.1.gz
           share/doc/glyphary/copyright share/doc/glyphary/changelog.gz)
[ "$gui" = ON ] && installed+=(bin/glyphary share/man/man1/glyphary.1.gz
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png)
module_dir=lib/python3/dist-packages
[ "$python" = ON ] && installed+=("$module_dir/glyphary.pyi"
  "$module_dir/glyphary$(/usr/bin/python3 -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')")
for file in "${installed[@]}"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done

# --- the desktop files pass their validators
if [ "$gui" = ON ]; then
  check "desktop entry invalid" desktop-file-validate "$prefix/share/applications/$id.desktop"
  check "AppStream file invalid" appstreamcli validate --pedantic --no-net \
    "$prefix/share/metainfo/$id.metainfo.xml"
  # A 48 × 48 PNG: the width and height fields of the IHDR chunk.
  size=$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/48x48/apps/$id.png" | tr -d ' \n')
  [ "$size" = 0000003000000030 ] || fail "the PNG icon is not 48 × 48 ($size)"
fi
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z -k 2>&1)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
changelog="$prefix/share/doc/glyphary/changelog.gz"
zcat "$changelog" >"$scratch/changelog"
[ "$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the changelog's latest entry is not the package's version"
for program in "$prefix"/bin/* "$prefix/$module_dir"/*.so; do
  [ -e "$program" ] || continue
  [ -z "$(readelf -S "$program" | grep -F .debug_)" ] || fail "$(basename "$program") not stripped"
done

# --- Debian's own checks, where lintian is installed: not one error or warning
if command -v lintian >/dev/null; then
  report=$(lintian --fail-on none "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  [ -z "$report" ] || fail "lintian: $report"
fi

# --- the installed command line, run from the scratch folder
cd "$scratch"
cli="$prefix/bin/glyphary-cli"
text="字幕 Caption 123"  # BMP below: PNG carries the time it was written
# Whole output first: grep -q stops reading early, which pipefail would count.
faces=$("$cli" faces)
grep -qxF "ＭＳ Ｐゴシック" <<<"$faces" || fail "faces does not list the aliases"
"$cli" render "$text" ms.bmp --face "ＭＳ Ｐゴシック" || fail "render with the alias failed"
"$cli" render "$text" ipa.bmp --face "IPAPGothic" || fail "render with the IPA face failed"
cmp -s ms.bmp ipa.bmp || fail "ＭＳ Ｐゴシック is not drawn with IPAPGothic"

# The installed Python module, with Debian's python3: the same aliases, the
# same caption and the same writer as the installed command line.
if [ "$python" = ON ]; then
  PYTHONPATH="$prefix/$module_dir" /usr/bin/python3 -c '
import glyphary
assert glyphary.__file__.startswith("'"$prefix"'"), glyphary.__file__
assert "ＭＳ Ｐゴシック" in glyphary.faces()
glyphary.save(glyphary.render("'"$text"'", face="ＭＳ Ｐゴシック"), "py.bmp")' ||
    fail "the installed Python module"
  cmp -s ms.bmp py.bmp || fail "the installed Python module draws otherwise than glyphary-cli"
fi

# Without the installed aliases the name is unknown: the installed file, and
# nothing else, is what the program read.
conf="$prefix/share/glyphary/fonts/glyphary-fonts.conf"
mv "$conf" "$conf.away"
faces=$("$cli" faces)
if grep -qxF "ＭＳ Ｐゴシック" <<<"$faces"; then fail "aliases found without the installed file"; fi
mv "$conf.away" "$conf"

# --- the installed desktop program: its help page and settings file
if [ "$gui" = ON ]; then
  app="$prefix/bin/glyphary"
  usage=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$scratch/home" XDG_CONFIG_HOME= "$app" --help)
  grep -qxF "ヘルプ: $prefix/share/glyphary/help/index.htm" <<<"$usage" ||
    fail "help page not found: $usage"
  grep -qxF "設定ファイル: $scratch/home/.config/glyphary/glyphary.INI" <<<"$usage" ||
    fail "installed program does not use the user's settings file: $usage"
  usage=$(XDG_CONFIG_HOME="$scratch/config" "$app" --help)
  grep -qxF "設定ファイル: $scratch/config/glyphary/glyphary.INI" <<<"$usage" ||
    fail "XDG_CONFIG_HOME not honoured: $usage"
  usage=$("$app" --settings mine.INI --help)
  grep -qxF "設定ファイル: $scratch/mine.INI" <<<"$usage" || fail "--settings ignored: $usage"
  set +e
  "$app" --settings >/dev/null 2>&1
  status=$?
  set -e
  [ $status -eq 2 ] || fail "--settings without a file gave exit code $status"

  # The build tree finds its copies beside the program.
  usage=$("$build/glyphary" --help)
  grep -qxF "ヘルプ: $build/help/index.htm" <<<"$usage" || fail "build tree: $usage"

  # A settings file beside the installed program, as copied from Windows, wins.
  printf '[Font]\r\nSize=30\r\n' >"$prefix/bin/glyphary.INI"
  usage=$(HOME="$scratch/home" "$app" --help)
  grep -qxF "設定ファイル: $prefix/bin/glyphary.INI" <<<"$usage" ||
    fail "existing INI beside the program ignored: $usage"
fi

[ $failures -eq 0 ] || exit 1
echo "installed package: all checks passed"
