// The compiled part of the twobody package.
#include "broadcast.h"

#include <twobody/version.h>

#include <gsl/gsl_errno.h>

namespace twobody_py {

std::map<std::string, TimedLoop>& timed_loops()
{
    static std::map<std::string, TimedLoop> loops;
    return loops;
}

} // namespace twobody_py

PYBIND11_MODULE(_core, m)
{
    namespace py = pybind11;
    using namespace twobody_py;

    // GSL's default handler aborts the process on a domain error or an overflow; an
    // interpreter must never be ended that way. With the handler off the functions return
    // NaN (or the value GSL's error path stands for) instead. This is process-wide.
    gsl_set_error_handler_off();

    py::options options;
    options.disable_function_signatures();

    m.doc() = "Compiled core of twobody; use the package's submodules.";
    m.attr("__version__") = TWOBODY_VERSION_STRING;

    py::module_ coulwave = m.def_submodule("coulwave");
    py::module_ bessel = m.def_submodule("bessel");
    py::module_ spherharmonics = m.def_submodule("spherharmonics");
    py::module_ misc = m.def_submodule("misc");
    py::module_ phaseshift = m.def_submodule("phaseshift");
    bind_coulwave(coulwave);
    bind_bessel(bessel);
    bind_spherharmonics(spherharmonics);
    bind_misc(misc);
    bind_phaseshift(phaseshift);
    bind_cchcalc(m);

    m.def(
        "_cxx_loop_seconds",
        [](const std::string& name, const py::args& arrays) {
            auto it = timed_loops().find(name);
            if (it == timed_loops().end())
                throw py::key_error(name);
            std::vector<py::array> in;
            for (auto a : arrays)
                in.push_back(py::array::ensure(a, py::array::c_style));
            return it->second(in);
        },
        "_cxx_loop_seconds(name, *arrays) -> float\n\nSeconds for one plain C++ loop of the "
        "function over contiguous arrays\n(float64, int64, complex128; four-vectors (n, 4)). "
        "For the benchmark.");
    m.def("_timed_names", [] {
        std::vector<std::string> names;
        for (auto& kv : timed_loops())
            names.push_back(kv.first);
        return names;
    });
}
