# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the teacher's guide as one HTML page that needs nothing beside it.

Usage: write_guide.py GUIDE.md OUT.html

The pictures the Markdown names are embedded as data: addresses, so the page reads the same
offline, from a USB stick or as a mail attachment. Links to other files of the tree are refused:
the page travels alone. Runs on Debian's python3-markdown.
"""
import base64
import html
import os
import re
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

STYLE = """
body { font-family: "Liberation Sans", Arial, sans-serif; line-height: 1.5; max-width: 50em;
       margin: 2em auto; padding: 0 1em; color: #1a1a1a; background: #fff; }
h1, h2, h3 { line-height: 1.25; }
h2 { margin-top: 2em; border-bottom: 1px solid #ccc; }
img { max-width: 100%; height: auto; }
figure { margin: 1em 0; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #999; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
code, kbd { font-family: "Liberation Mono", monospace; background: #f2f2f2; padding: 0 0.2em; }
pre { background: #f2f2f2; padding: 0.6em; overflow-x: auto; }
.toc ul { list-style: none; padding-left: 1.2em; }
@media print { h2 { page-break-before: auto; } img { max-width: 60%; } }
"""


def embed_pictures(body, folder):
    def embedded(match):
        name = html.unescape(match.group(2))
        if re.match(r"^[a-z]+:", name) or ".." in name.split("/"):
            sys.exit(f"write_guide.py: the picture {name} is not a file beside the guide")
        path = os.path.join(folder, name)
        if not name.endswith(".png") or not os.path.isfile(path):
            sys.exit(f"write_guide.py: no PNG picture {path}")
        with open(path, "rb") as picture:
            data = base64.b64encode(picture.read()).decode("ascii")
        return f'{match.group(1)}"data:image/png;base64,{data}"'

    return re.sub(r'(<img [^>]*src=)"([^"]*)"', embedded, body)


def refuse_file_links(body):
    for target in re.findall(r'<a [^>]*href="([^"]*)"', body):
        if not re.match(r"^(https?:|mailto:|#)", target):
            sys.exit(f"write_guide.py: the link to {target} would lead nowhere from the page alone")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: write_guide.py GUIDE.md OUT.html")
    source, out = sys.argv[1:]
    with open(source, encoding="utf-8") as file:
        text = file.read()
    title = re.search(r"^# (.+)$", text, re.MULTILINE)
    if not title:
        sys.exit(f"write_guide.py: {source} has no title line")

    converter = markdown.Markdown(
        extensions=["tables", "toc", "attr_list", "sane_lists"],
        extension_configs={"toc": {"slugify": slugify_unicode, "toc_depth": "2-3"}},
        output_format="html",
    )
    body = converter.convert(text)
    refuse_file_links(body)
    body = embed_pictures(body, os.path.dirname(os.path.abspath(source)))

    page = (
        "<!DOCTYPE html>\n"
        '<html lang="ru">\n<head>\n<meta charset="utf-8">\n'
        '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
        f"<title>{html.escape(title.group(1))}</title>\n"
        f"<style>{STYLE}</style>\n</head>\n<body>\n{body}\n</body>\n</html>\n"
    )
    with open(out, "w", encoding="utf-8") as file:
        file.write(page)


if __name__ == "__main__":
    main()
