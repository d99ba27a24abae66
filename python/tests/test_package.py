"""The package's face: version, names, docstrings and type stubs."""

import ast
import pathlib
import re

import pytest

import twobody

REPO = pathlib.Path(__file__).resolve().parents[2]
SUBMODULES = ["coulwave", "bessel", "spherharmonics", "misc", "phaseshift"]


def test_version():
    parts = twobody.__version__.split(".")
    assert len(parts) == 3 and all(p.isdigit() for p in parts)


def public_functions():
    for mod in SUBMODULES:
        m = getattr(twobody, mod)
        for name in m.__all__:
            yield f"{mod}.{name}", getattr(m, name)
    for name in dir(twobody.CCHCalc):
        if not name.startswith("_") and callable(getattr(twobody.CCHCalc, name)):
            yield f"CCHCalc.{name}", getattr(twobody.CCHCalc, name)


def test_docstrings_open_with_the_call_and_name_the_header():
    headers = {p.name for p in (REPO / "lib").glob("*/*.h")}
    for qual, f in public_functions():
        doc = f.__doc__ or ""
        name = qual.split(".")[-1]
        assert doc.startswith(name + "("), qual
        assert len(doc.splitlines()) >= 3, qual
        if qual != "phaseshift.build" and headers:
            cited = re.findall(r"See <twobody/([\w.]+)>", doc)
            assert cited and set(cited) <= headers, qual


def stub_names(path):
    tree = ast.parse(path.read_text())
    names = set()
    for node in tree.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            names.add(node.name)
            if isinstance(node, ast.ClassDef):
                names |= {f"{node.name}.{n.name}" for n in node.body
                          if isinstance(n, ast.FunctionDef)}
    return names


def test_stubs_cover_the_package():
    root = pathlib.Path(twobody.__file__).parent
    assert (root / "py.typed").exists()
    for mod in SUBMODULES:
        assert stub_names(root / f"{mod}.pyi") == set(getattr(twobody, mod).__all__), mod
    stubbed = stub_names(root / "__init__.pyi")
    for qual, _ in public_functions():
        if qual.startswith("CCHCalc."):
            assert qual in stubbed, qual
