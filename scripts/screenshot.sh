#!/usr/bin/env bash
# Pictures of the main window under Xvfb: docs/screenshot.png (the README's), a zone with
# rows in both languages (docs/rows-zh.png, docs/rows-en.png), the login window's QR page
# (docs/login-qr-zh.png) and e-mail page (docs/login-email-en.png) against the stand-in
# service on a loopback port, and the download and feedback windows in both languages
# (docs/download-*.png, docs/feedback-*.png), and the header in English with an account signed
# in (docs/header-logged-in-en.png). Builds first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
scratch=$(mktemp -d)
service_pid=
trap '[ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p docs "$scratch/pdfs"
# A few small PDFs to show as rows.
python3 - "$scratch/pdfs" <<'PY'
import sys, os
def pdf(path, pages):
    objs = ["<< /Type /Catalog /Pages 2 0 R >>", None]
    kids = []
    for i in range(pages):
        kids.append(f"{3 + i} 0 R")
        objs.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>")
    objs[1] = f"<< /Type /Pages /Kids [{' '.join(kids)}] /Count {pages} >>"
    out = b"%PDF-1.4\n"; offsets = []
    for n, body in enumerate(objs, 1):
        offsets.append(len(out)); out += f"{n} 0 obj\n{body}\nendobj\n".encode()
    xref = len(out)
    out += f"xref\n0 {len(objs)+1}\n0000000000 65535 f \n".encode()
    out += b"".join(f"{o:010d} 00000 n \n".encode() for o in offsets)
    out += f"trailer\n<< /Size {len(objs)+1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    open(path, "wb").write(out)
for name, pages in [("annual-report", 12), ("contract-draft", 3), ("scanned-invoices", 40)]:
    pdf(os.path.join(sys.argv[1], name + ".pdf"), pages)
PY
shot() {
  HOME="$scratch/home-$1" XDG_CONFIG_HOME="$scratch/home-$1/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD_DIR/bin/korvex-shot" "${@:2}"
}
shot plain docs/screenshot.png --lang zh
shot zh docs/rows-zh.png --lang zh --rows "$scratch/pdfs"
shot en docs/rows-en.png --lang en --rows "$scratch/pdfs"
shot menu-out docs/menu-logged-out.png --lang zh --menu
shot menu-in docs/menu-logged-in.png --lang zh --menu --logged-in
shot capture docs/screenshot-pane.png --lang zh --capture
shot header-en docs/header-logged-in-en.png --lang en --header
# The stand-in service on a free port; its first line names the port.
"$BUILD_DIR/bin/korvex-service" --port 0 --db "$scratch/service.db" >"$scratch/service.out" &
service_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$scratch/service.out" && break
  sleep 0.1
done
service_url="http://$(sed -n 's/^listening on //p' "$scratch/service.out" | head -1)"
shot login-zh docs/login-qr-zh.png --lang zh --login --service "$service_url"
shot login-en docs/login-email-en.png --lang en --login --service "$service_url"
for window in download feedback; do
  shot "$window-zh" "docs/$window-zh.png" --lang zh --window "$window"
  shot "$window-en" "docs/$window-en.png" --lang en --window "$window"
done
echo "wrote docs/screenshot.png docs/rows-zh.png docs/rows-en.png docs/login-qr-zh.png docs/login-email-en.png,"
echo "the drop-down menu (docs/menu-logged-out.png, docs/menu-logged-in.png), the screenshot pane"
echo "(docs/screenshot-pane.png), the header signed in (docs/header-logged-in-en.png) and the"
echo "download and feedback windows"
