#!/usr/bin/env python3
"""Builds samples/sample.bml: a short book typed through Tenkora's own input systems.

Each paragraph is typed with `tenkora-cli translate` (TEXT mode, or MATH mode for formulas), so
the braille rules add their signs exactly as in the editor; the rows it prints are split back into
characters with `tenkora-cli lookup`, checked against the cells the rules produced, and written
as BML with each paragraph's original-page labels. `tenkora-cli roundtrip` then lays the file out
in Tenkora's own layout.

usage: samples/make_sample.py [PATH-TO-tenkora-cli]
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CLI = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "bin", "tenkora-cli")

# (labels of the paragraph's rows, in order; "math" or "text"; what the transcriber types)
BOOK = {
    "cover": [
        ([""], "text", "ほしの　ものがたり"),
        ([""], "text", "やまだ　はなこ　さく"),
        ([""], "text", "てんこら　てんじ　としょかん"),
    ],
    "contents": [
        ([""], "text", "もくじ"),
        ([""], "text", "だい１しょう　よぞらを　みあげて　１"),
        ([""], "text", "だい２しょう　ほしの　かずを　かぞえる　３"),
    ],
    "body": [
        (["1"], "text", "だい１しょう　よぞらを　みあげて"),
        (["1", "1", "2", "2"], "text",
         "なつの　よる、わたしは　にわに　でて　そらを　みあげました。ほしが　たくさん　ひかって　いました。"
         "ちちは　「あれが　はくちょうざだよ」と　おしえて　くれました。"),
        (["2"], "text", "だい２しょう　ほしの　かずを　かぞえる"),
        (["2", "3"], "text",
         "めで　みえる　ほしは　やく　８６００こ　あると　いわれて　います。きょう　かぞえた　ほしは　２３こでした。"),
        (["3", "3"], "text", "あした　２こ　ふえたら　５こに　なる　ほしの　かずを　もとめる　しきは　つぎの　とおりです。"),
        (["3"], "math", "x+2=5"),
        (["3"], "text", "こたえは　３です。"),
    ],
    "colophon": [
        ([""], "text", "２０２６ねん　４がつ　てんやく"),
        ([""], "text", "てんこら　てんじ　としょかん"),
    ],
}


def run(*args):
    return subprocess.run([CLI, *args], check=True, capture_output=True, text=True).stdout


def typed(mode, text):
    """Print texts and cells of the paragraph as the input systems make it."""
    args = ["translate"] + (["--math"] if mode == "math" else []) + [text]
    prints, cells = "", ""
    for row in run(*args).splitlines():
        p, c = row.split("\t")[:2]
        prints += p
        cells += c
    return prints, cells


def characters(mode, prints):
    """The characters of a typed paragraph: (mode, cells, print) each."""
    out = []
    run_text = ""

    def flush():
        nonlocal run_text
        if run_text:
            for line in run("lookup", "--set", "3" if mode == "math" else "2", run_text).splitlines():
                s, p, c = line.split("\t")[:3]
                out.append(("math" if s in ("3", "4") else "text", c, p))
            run_text = ""

    for ch in prints:
        if ch == "\u25a1":  # the blank
            flush()
            out.append(("text", " ", "\u3000"))
        elif 0xE000 <= ord(ch) <= 0xE03F:  # a sign the rules added, as a raw cell
            flush()
            out.append((mode, chr(0x20 + ord(ch) - 0xE000), ch))
        else:
            run_text += ch
    flush()
    return out


def escape(text, quote):
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace('"', "&quot;") if quote else text


def main():
    out = ['<?xml version="1.0" encoding="UTF-8" standalone="no"?>', "<document>", "<head>",
           '<use orgpage="yes"/>', "</head>"]
    for section, paragraphs in BOOK.items():
        out.append(f"<{section}>")
        for n, (labels, mode, text) in enumerate(paragraphs):
            prints, cells = typed(mode, text)
            chars = characters(mode, prints)
            if "".join(c for _, c, _ in chars) != cells:
                sys.exit(f"{section} paragraph {n}: the characters found do not give the typed cells")
            # One line element per label; the reader hands them to the rows in order.
            for label in labels:
                out.append(f'<line orgpage="{escape(label, True)}"></line>')
            for m, c, p in chars:
                out.append(f'<char mode="{m}" nabcc="{escape(c, True)}">{escape(p, False)}</char>')
            if n + 1 < len(paragraphs):
                out.append("<br/>")
        out.append(f"</{section}>")
    out.append("</document>")
    with tempfile.TemporaryDirectory() as tmp:
        draft = os.path.join(tmp, "draft.bml")
        with open(draft, "w", encoding="utf-8") as f:
            f.write("\n".join(out))
        run("roundtrip", draft, os.path.join(HERE, "sample.bml"))


if __name__ == "__main__":
    main()
