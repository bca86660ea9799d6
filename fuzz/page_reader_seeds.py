#!/usr/bin/env python3
"""Writes the seeds of the page_reader fuzz target into fuzz/corpus/page_reader/: small PDFs
with outlines (explicit destinations, the name tree, the catalog's /Dests, GoTo actions),
page labels, and the hostile shapes the readers must survive (loops in the outline, in the
name tree and in the label tree, a page tree that states too many pages)."""

import os

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "page_reader")


def pdf(objects):
    out = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (number, body.encode())
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return out


def document(pages, catalog_extra="", count=None, extra=()):
    """Objects 1 catalog, 2 page tree, 3 font, pages from 4 (one content stream each)."""
    kids = " ".join("%d 0 R" % (4 + 2 * i) for i in range(pages))
    objects = [
        "<< /Type /Catalog /Pages 2 0 R %s >>" % catalog_extra,
        "<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, pages if count is None else count),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    for i in range(pages):
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] "
                       "/Resources << /Font << /F1 3 0 R >> >> /Contents %d 0 R >>" % (5 + 2 * i))
        content = "BT /F1 24 Tf 40 90 Td (Page %d) Tj ET" % (i + 1)
        objects.append("<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content))
    return objects + list(extra)


def page(n):
    return "%d 0 R" % (4 + 2 * (n - 1))


def book(loop=None, names_loop=False, labels_loop=False, count=None):
    pages = 6
    base = 4 + 2 * pages  # first object after the pages
    outlines, a, b, c, d = base, base + 1, base + 2, base + 3, base + 4
    names, labels = base + 5, base + 6
    first = {"outlines": outlines, "catalog": 1}.get(loop, a)
    extra = [
        "<< /Type /Outlines /First %d 0 R /Last %d 0 R /Count 4 >>" % (first, b),
        "<< /Title (One) /Parent %d 0 R /Next %d 0 R /Dest [%s /XYZ 0 200 0] >>" % (outlines, b, page(1)),
        "<< /Title <FEFF00540077006F> /Parent %d 0 R /Prev %d 0 R /First %d 0 R /Last %d 0 R /Count 2 "
        "/A << /S /GoTo /D [%s /Fit] >> >>" % (outlines, a, b if loop == "first" else c, d, page(3)),
        "<< /Title (Two.One) /Parent %d 0 R /Next %d 0 R /Dest (named) >>" % (b, d),
        "<< /Title (Two.Two) /Parent %d 0 R /Prev %d 0 R /Dest /catalogname%s >>"
        % (b, c, " /Next %d 0 R" % d if loop == "next" else ""),
        "<< /Names [(named) [%s /Fit]]%s >>" % (page(4), " /Kids [%d 0 R]" % names if names_loop else ""),
        "<< /Nums [0 << /S /r >> 2 << /S /D /P (A-) /St 5 >>]%s >>"
        % (" /Kids [%d 0 R]" % labels if labels_loop else ""),
    ]
    catalog = ("/Outlines %d 0 R /Names << /Dests %d 0 R >> /Dests << /catalogname << /D [%s /Fit] >> >> "
               "/PageLabels %d 0 R" % (outlines, names, page(5), labels))
    return pdf(document(pages, catalog, count, extra))


def main():
    os.makedirs(HERE, exist_ok=True)
    seeds = {
        "book.pdf": book(),
        "next-loop.pdf": book(loop="next"),
        "first-loop.pdf": book(loop="first"),
        "outlines-loop.pdf": book(loop="outlines"),
        "catalog-loop.pdf": book(loop="catalog"),
        "names-loop.pdf": book(names_loop=True),
        "labels-loop.pdf": book(labels_loop=True),
        "stated-count.pdf": book(count=2147483647),
        "plain.pdf": pdf(document(2)),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
