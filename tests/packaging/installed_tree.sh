#!/usr/bin/env bash
# Installs the build into a staging folder and checks what a desktop and a user get from it:
# valid freedesktop and AppStream files, the icon, the commands linked into bin, and an
# installed command line that finds its engine and works on a PDF.
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null
root="$stage/usr"
app=org.korvex.KorvexPdf

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$root/lib/korvex/korvex-pdf-cli" ] || fail "korvex-pdf-cli not in lib/korvex"
[ -L "$root/bin/korvex-pdf-cli" ] || fail "bin/korvex-pdf-cli is not a link"
[ -e "$root/bin/korvex-pdf-cli" ] || fail "bin/korvex-pdf-cli points nowhere"
[ -x "$root/lib/korvex/korvex-pages" ] || fail "the engine's page program is not next to the command line"
[ -x "$root/lib/korvex/korvex-compress" ] || fail "the engine's compression program is not next to the command line"
[ -f "$root/lib/korvex/install.json" ] || fail "install.json not next to the programs"
[ ! -e "$root/lib/korvex/korvex-service" ] || fail "the stand-in service must not be installed"

if [ -e "$build_dir/bin/korvex-pdf" ]; then
  [ -x "$root/lib/korvex/korvex-pdf" ] || fail "korvex-pdf not installed"
  [ -e "$root/bin/korvex-pdf" ] || fail "bin/korvex-pdf missing"
  [ -x "$root/lib/korvex/reportis" ] || fail "the crash reporter is not next to the program"
  [ -x "$root/lib/korvex/korvex_updater" ] || fail "the updater is not next to the program"
  [ -x "$root/lib/korvex/snaptor" ] || fail "the screenshot program is not next to the program"
  [ -f "$root/share/icons/hicolor/256x256/apps/$app.png" ] || fail "icon missing"
  [ -f "$root/share/icons/hicolor/48x48/apps/$app.png" ] || fail "small icon missing"
  desktop-file-validate "$root/share/applications/$app.desktop"
  appstreamcli validate --no-net --pedantic "$root/share/metainfo/$app.metainfo.xml"
fi

# The installed command line, started through its link in bin, on a one-page PDF.
pdf="$stage/one.pdf"
printf '%%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]>>endobj\ntrailer<</Size 4/Root 1 0 R>>\n' > "$stage/raw.pdf"
qpdf "$stage/raw.pdf" "$pdf" 2>/dev/null || [ $? -eq 3 ] # qpdf repairs the hand-written table
out=$("$root/bin/korvex-pdf-cli" info "$pdf")
echo "$out"
case "$out" in *1*) ;; *) fail "info did not report one page: $out" ;; esac
echo "installed tree ok"
