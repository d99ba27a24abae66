// The compiled part of the twobody package.
#include "broadcast.h"

#include <twobody/fatal.h>
#include <twobody/version.h>

#include <gsl/gsl_errno.h>

PYBIND11_MODULE(_core, m)
{
    namespace py = pybind11;
    using namespace twobody_py;

    // GSL's default handler aborts the process on a domain error or an overflow; an
    // interpreter must never be ended that way. With the handler off the functions return
    // NaN (or the value GSL's error path stands for) instead. This is process-wide.
    gsl_set_error_handler_off();

    // pybind11 looks NumPy's C API up once, on first use, in a static whose initialiser
    // imports NumPy and lets the GIL go meanwhile: threads making their first calls at once
    // would deadlock there. Looked up now, while the package is imported, it is settled
    // before any thread can call in.
    py::detail::npy_api::get();
    SignalPoll::main_thread =
        py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();

    // The library ends the process on a precondition it cannot answer (triangle below
    // threshold, GetQinv of a time-like pair, a CCHCalc lookup without tables); here such a
    // call raises ValueError instead, naming the element when it is a broadcast point.
    Misc::setFatalHandler([](const char*, const char* message) { throw Fatal(message); });
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const Fatal& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        }
    });

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
}
