"""Build backend glue for the Python package twobody (metadata: pyproject.toml).

The extension twobody._core is built by the project's own CMake (target twobody_python), so
the C++ sources and flags are listed once, in CMakeLists.txt; this file only configures that
build, runs it and copies the module where setuptools packs it. The pure-Python files come
from python/twobody as an ordinary package.
"""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import sysconfig
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def cmake_version():
    """The one version of the project: project(twobody VERSION x.y.z) in CMakeLists.txt."""
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    match = re.search(r"project\(\s*twobody\s+VERSION\s+(\d+\.\d+\.\d+)", text)
    if not match:
        raise RuntimeError("CMakeLists.txt: no project(twobody VERSION x.y.z)")
    return match.group(1)


class CMakeExtension(Extension):
    """An extension that a CMake target builds; no sources for setuptools to compile."""

    def __init__(self, name, target):
        super().__init__(name, sources=[])
        self.target = target


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        if not isinstance(ext, CMakeExtension):
            return super().build_extension(ext)
        if shutil.which("cmake") is None:
            sys.exit("twobody: building the package needs CMake (Debian: apt install cmake)")
        # One CMake tree per interpreter, so a rebuild for the same one is incremental and
        # another interpreter never inherits a stale cache.
        interpreter = os.path.realpath(sys.executable)
        tag = hashlib.sha1(interpreter.encode()).hexdigest()[:10]
        build_dir = Path(self.build_temp).resolve() / f"cmake-{tag}"
        config = "Debug" if self.debug else "Release"
        args = [f"-DCMAKE_BUILD_TYPE={config}",
                "-DTWOBODY_PYTHON=ON",
                "-DTWOBODY_BUILD_TOOLS=ON",  # the module links the builder's stages
                "-DTWOBODY_BUILD_TESTS=OFF",
                "-DTWOBODY_BUILD_EXAMPLES=OFF",
                "-DTWOBODY_BUILD_BENCHMARKS=OFF",
                "-DTWOBODY_SANITIZE=OFF",
                "-DTWOBODY_INSTALL=OFF",
                f"-DPython_EXECUTABLE={sys.executable}"]
        try:  # pybind11 from the interpreter's packages if it has them, else CMake looks
            import pybind11
            args.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
        except ImportError:
            pass
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build_dir), *args], check=True)

        build = ["cmake", "--build", str(build_dir), "--target", ext.target]
        if self.parallel:
            build += ["-j", str(self.parallel)]
        elif "CMAKE_BUILD_PARALLEL_LEVEL" not in os.environ:
            build += ["-j", str(os.cpu_count() or 1)]
        subprocess.run(build, check=True)

        # python/CMakeLists.txt assembles the package in <build>/python/twobody.
        name = ext.name.split(".")[-1] + sysconfig.get_config_var("EXT_SUFFIX")
        built = build_dir / "python" / "twobody" / name
        if not built.exists():
            sys.exit(f"twobody: CMake did not produce {built}")
        dest = Path(self.get_ext_fullpath(ext.name))
        dest.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, dest)


# Not build/ itself: the CMake build trees of the README live there (build/lib among them),
# and whatever setuptools finds in its build/lib goes into the wheel. egg_info needs the
# directory to exist.
BUILD_BASE = "build/setuptools"
os.makedirs(BUILD_BASE, exist_ok=True)

setup(
    version=cmake_version(),
    packages=["twobody"],
    package_dir={"": "python"},
    package_data={"twobody": ["*.pyi", "py.typed"]},
    ext_modules=[CMakeExtension("twobody._core", target="twobody_python")],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": BUILD_BASE}, "egg_info": {"egg_base": BUILD_BASE}},
    zip_safe=False,
)
