#!/usr/bin/env bash
# Installs the build into a staging folder, as a package would lay it out, and
# checks what a desktop finds there: the two programs start and say their
# version, the menu entry and the AppStream description are valid, the icon,
# media type and manual pages are in place, and the manual pages name exactly
# the options the programs' own help names.
#
#   check-install.sh BUILD-FOLDER SOURCE-FOLDER VERSION
set -euo pipefail
build=$1 source=$2 version=$3
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR="$staging" cmake --install "$build" --prefix /usr >/dev/null
usr="$staging/usr"
id=org.corvane.Corvane
for file in bin/corvane bin/corvane-cli share/Melloway/null.wav share/Melloway/default_music.ogg \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png share/man/man1/corvane.1.gz share/man/man1/corvane-cli.1.gz; do
  [[ -s "$usr/$file" ]] || fail "$file is not installed"
done
echo "installed files in place"

[[ "$("$usr/bin/corvane-cli" --version)" == *"$version"* ]] || fail "corvane-cli --version"
[[ "$(QT_QPA_PLATFORM=offscreen "$usr/bin/corvane" --version 2>/dev/null)" == *"$version"* ]] ||
  fail "corvane --version"
echo "the installed programs start: $version"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/$id.desktop" || fail "the menu entry"
  echo "menu entry valid"
else
  echo "desktop-file-validate is not installed: menu entry not checked"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the AppStream description: $(appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml")"
  echo "AppStream description valid"
else
  echo "appstreamcli is not installed: AppStream description not checked"
fi

# Options are words starting with two dashes; the pages write them as \-\-.
options() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
for page in corvane corvane-cli; do
  warnings=$(gzip -dc "$usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [[ -z "$warnings" ]] || fail "$page.1: $warnings"
  [[ "$(gzip -dc "$usr/share/man/man1/$page.1.gz")" == *"Corvane $version"* ]] || fail "$page.1 has no version"
done
cli="$usr/bin/corvane-cli"
from_help=$( { "$cli" --help; "$cli" package --help; "$cli" convert --help; "$cli" mix --help; "$cli" loudness --help; } | options)
from_page=$(gzip -dc "$usr/share/man/man1/corvane-cli.1.gz" | sed 's/\\-/-/g' | options)
[[ "$from_help" == "$from_page" ]] ||
  fail "corvane-cli.1 and --help name different options: $(diff <(echo "$from_help") <(echo "$from_page") | grep '^[<>]' | tr '\n' ' ')"
from_help=$(QT_QPA_PLATFORM=offscreen "$usr/bin/corvane" --help 2>/dev/null | options)
from_page=$(gzip -dc "$usr/share/man/man1/corvane.1.gz" | sed 's/\\-/-/g' | options)
[[ "$from_help" == "$from_page" ]] ||
  fail "corvane.1 and --help name different options: $(diff <(echo "$from_help") <(echo "$from_page") | grep '^[<>]' | tr '\n' ' ')"
echo "manual pages name the options of --help"
