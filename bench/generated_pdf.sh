# Sourced by the benchmarks. make_pdf N [K] writes a PDF of N pages to standard output, with its
# cross-reference table; page k shows "Page k". With K, it also has an outline: a chapter
# bookmark every K pages and a section bookmark on the page after each chapter's first.
make_pdf() {
  LC_ALL=C awk -v n="$1" -v step="${2:-0}" '
    function emit(s) { printf "%s", s; offset += length(s) }
    function obj(k, body) { at[k] = offset; emit(k " 0 obj\n" body "\nendobj\n") }
    function page(i) { return (4 + 2 * i) " 0 R" }
    BEGIN {
      emit("%PDF-1.4\n")
      count = 3 + 2 * n
      chapters = step > 0 ? int((n + step - 1) / step) : 0
      outline = chapters > 0 ? count + 1 : 0
      obj(1, "<< /Type /Catalog /Pages 2 0 R" (outline ? " /Outlines " outline " 0 R" : "") " >>")
      # The kids are written one by one: building them as one string costs time with the
      # square of the page count.
      at[2] = offset
      emit("2 0 obj\n<< /Type /Pages /Kids [ ")
      for (i = 0; i < n; i++) emit(page(i) " ")
      emit("] /Count " n " >>\nendobj\n")
      obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
      for (i = 0; i < n; i++) {
        text = "BT /F1 24 Tf 40 90 Td (Page " (i + 1) ") Tj ET"
        obj(4 + 2 * i, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Resources << /Font << /F1 3 0 R >> >> /Contents " (5 + 2 * i) " 0 R >>")
        obj(5 + 2 * i, "<< /Length " length(text) " >>\nstream\n" text "\nendstream")
      }
      if (outline) {
        # Chapter c is object outline + 2c - 1, its section the next one.
        first = outline + 1; last = outline + 2 * chapters - 1
        obj(outline, "<< /Type /Outlines /First " first " 0 R /Last " last " 0 R /Count " chapters " >>")
        for (c = 1; c <= chapters; c++) {
          me = outline + 2 * c - 1; p = (c - 1) * step; s = p + 1 < n ? p + 1 : p
          links = (c > 1 ? " /Prev " (me - 2) " 0 R" : "") (c < chapters ? " /Next " (me + 2) " 0 R" : "")
          obj(me, "<< /Title (Chapter " c ") /Parent " outline " 0 R /Dest [" page(p) " /Fit]" links " /First " (me + 1) " 0 R /Last " (me + 1) " 0 R /Count -1 >>")
          obj(me + 1, "<< /Title (Section " c ".1) /Parent " me " 0 R /Dest [" page(s) " /XYZ 0 200 0] >>")
        }
        count = outline + 2 * chapters
      }
      xref = offset
      emit("xref\n0 " (count + 1) "\n0000000000 65535 f \n")
      for (k = 1; k <= count; k++) emit(sprintf("%010d 00000 n \n", at[k]))
      emit("trailer\n<< /Size " (count + 1) " /Root 1 0 R >>\nstartxref\n" xref "\n%%EOF\n")
    }'
}
