// twobody.phaseshift: the table builder's whole road as one call.
#include "broadcast.h"

#include "build.h"
#include "emitters.h"

namespace twobody_py {

namespace {

py::array_t<double> grid_array(const PhaseShift::Grid& g)
{
    const ssize waves = static_cast<ssize>(g.size());
    const ssize points = static_cast<ssize>(g[0].size());
    py::array_t<double> a({waves, points});
    auto r = a.mutable_unchecked<2>();
    for (ssize w = 0; w < waves; ++w)
        for (ssize k = 0; k < points; ++k)
            r(w, k) = g[w][k];
    return a;
}

// Raises `type` with text, whose paths are the file system's bytes: decoded as os.fsdecode
// does, so that a name that is not UTF-8 comes back as Python spells it.
[[noreturn]] void raise_with(PyObject* type, const std::string& text)
{
    PyObject* msg = PyUnicode_DecodeFSDefaultAndSize(text.data(), static_cast<ssize>(text.size()));
    if (msg) {
        PyErr_SetObject(type, msg);
        Py_DECREF(msg);
    }
    throw py::error_already_set();
}

} // namespace

void bind_phaseshift(py::module_& m)
{
    m.def(
        "_build",
        [](const py::bytes& path, bool write) {
            const std::string directory = path; // the file system's bytes, NULs included
            PhaseShift::Grid delta{}, ddeltadq{};
            std::string error;
            bool built, written = true;
            {
                py::gil_scoped_release nogil;
                built = PhaseShift::buildTables(directory, delta, ddeltadq, error);
                if (built && write)
                    written = PhaseShift::writeOutputs(directory, delta, ddeltadq, error);
            }
            if (!built)
                raise_with(PyExc_ValueError, error);
            if (!written)
                raise_with(PyExc_OSError, error);
            const ssize points = static_cast<ssize>(delta[0].size());
            py::array_t<double> q(points);
            auto r = q.mutable_unchecked<1>();
            for (ssize k = 0; k < points; ++k)
                r(k) = static_cast<double>(k) * PhaseShift::kDeltaQ;
            return py::make_tuple(q, grid_array(delta), grid_array(ddeltadq));
        },
        py::arg("directory"), py::arg("write"),
        "_build(directory, write) -> (q, delta, ddeltadq); see twobody.phaseshift.build.");
}

} // namespace twobody_py
