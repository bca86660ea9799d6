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
# Each check: the test operator, the path below the installed root, what is wrong otherwise.
check() { [ "$1" "$root/$2" ] || fail "$3"; }

check -x lib/korvex/korvex-pdf-cli "korvex-pdf-cli not in lib/korvex"
check -L bin/korvex-pdf-cli "bin/korvex-pdf-cli is not a link"
check -e bin/korvex-pdf-cli "bin/korvex-pdf-cli points nowhere"
for engine in korvex-pages korvex-compress; do
  check -x "lib/korvex/$engine" "the engine's $engine is not next to the command line"
done
check -f lib/korvex/install.json "install.json not next to the programs"
[ ! -e "$root/lib/korvex/korvex-service" ] || fail "the stand-in service must not be installed"

if [ -e "$build_dir/bin/korvex-pdf" ]; then
  check -e bin/korvex-pdf "bin/korvex-pdf missing"
  for program in korvex-pdf reportis korvex_updater snaptor; do
    check -x "lib/korvex/$program" "$program is not installed next to the program"
  done
  for size in 256x256 48x48; do
    check -f "share/icons/hicolor/$size/apps/$app.png" "the $size icon is missing"
  done
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
