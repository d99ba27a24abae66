// The non-template parts of the broadcasting machinery: reading arguments, signals, messages.
#include "broadcast.h"

#include <climits>
#include <cstring>

namespace twobody_py {

std::string shape_string(const std::vector<ssize>& shape)
{
    std::string s = "(";
    for (size_t i = 0; i < shape.size(); ++i)
        s += std::to_string(shape[i]) + (shape.size() == 1      ? ","
                                         : i + 1 < shape.size() ? ", "
                                                                : "");
    return s + ")";
}

namespace {

[[noreturn]] void fail_type(const std::string& func, const char* arg, const char* want,
                            const py::handle& obj)
{
    std::string got = py::str(py::type::of(obj).attr("__name__"));
    if (py::isinstance<py::array>(obj))
        got = "array of " + std::string(py::str(obj.attr("dtype")));
    throw py::type_error(func + "(): argument '" + arg + "' must be " + want + ", not " + got);
}

// Re-raises the pending Python error with the function and the argument named in front of
// its message, keeping its type and chaining the original.
[[noreturn]] void raise_for(const std::string& func, const char* arg)
{
    py::error_already_set e;
    const std::string msg = func + "(): argument '" + arg + "': " + std::string(py::str(e.value()));
    py::raise_from(e, e.type().ptr(), msg.c_str());
    throw py::error_already_set();
}

// obj as an ndarray, as numpy.asarray makes it; NumPy's own error names the argument.
py::array to_array(const std::string& func, const char* arg, const py::handle& obj)
{
    if (py::isinstance<py::array>(obj))
        return py::reinterpret_borrow<py::array>(obj);
    auto& api = py::detail::npy_api::get();
    PyObject* a = api.PyArray_FromAny_(obj.ptr(), nullptr, 0, 0,
                                       py::detail::npy_api::NPY_ARRAY_ENSUREARRAY_, nullptr);
    if (!a)
        raise_for(func, arg);
    return py::reinterpret_steal<py::array>(a);
}

// a.astype(dtype), a failure (an int too large for a float, a None) naming the argument.
py::array convert(const std::string& func, const char* arg, const py::array& a,
                  const py::dtype& dtype)
{
    PyObject* r = PyObject_CallMethod(a.ptr(), "astype", "O", dtype.ptr());
    if (!r)
        raise_for(func, arg);
    return py::reinterpret_steal<py::array>(r);
}

// Reads obj as an array whose dtype kind is one of `kinds` (or Python objects, converted one
// by one as float() or complex() would), converted to the native `dtype` (a byte-swapped
// array is converted here).
py::array as_array(const std::string& func, const char* arg, const py::handle& obj,
                   const char* kinds, const py::dtype& dtype, const char* want)
{
    py::array a = to_array(func, arg, obj);
    const char kind = a.dtype().kind();
    if (kind != 'O' && std::string(kinds).find(kind) == std::string::npos)
        fail_type(func, arg, want, obj);
    if (!a.dtype().is(dtype) && !a.dtype().equal(dtype))
        a = convert(func, arg, a, dtype);
    return a;
}

void set_loop_view(Operand& op, py::array a, int core)
{
    // A view into a packed record or a byte buffer may be unaligned: read a copy instead.
    if (!(a.flags() & py::detail::npy_api::NPY_ARRAY_ALIGNED_)) {
        a = py::reinterpret_steal<py::array>(
            py::detail::npy_api::get().PyArray_NewCopy_(a.ptr(), -1));
        if (!a)
            throw py::error_already_set();
    }
    op.keep = a;
    op.data = static_cast<char*>(const_cast<void*>(a.data()));
    const ssize nd = a.ndim() - core;
    op.shape.assign(a.shape(), a.shape() + nd);
    op.strides.assign(a.strides(), a.strides() + nd);
    if (core)
        op.core_stride = a.strides(nd);
}

} // namespace

template <>
void read_operand<double>(Operand& op, const std::string& func, const char* arg,
                          const py::handle& obj)
{
    if (PyFloat_Check(obj.ptr()) || PyLong_Check(obj.ptr())) {
        const double v =
            PyFloat_Check(obj.ptr()) ? PyFloat_AS_DOUBLE(obj.ptr()) : PyLong_AsDouble(obj.ptr());
        if (v == -1.0 && PyErr_Occurred())
            raise_for(func, arg);
        store_raw(reinterpret_cast<char*>(op.scalar), v);
        op.data = reinterpret_cast<char*>(op.scalar);
        return;
    }
    set_loop_view(op, as_array(func, arg, obj, "biuf", py::dtype::of<double>(), "real"), 0);
}

template <>
void read_operand<cplx>(Operand& op, const std::string& func, const char* arg,
                        const py::handle& obj)
{
    if (PyComplex_Check(obj.ptr())) {
        const Py_complex c = PyComplex_AsCComplex(obj.ptr());
        store_raw(reinterpret_cast<char*>(op.scalar), cplx(c.real, c.imag));
        op.data = reinterpret_cast<char*>(op.scalar);
        return;
    }
    set_loop_view(op, as_array(func, arg, obj, "biufc", py::dtype::of<cplx>(), "a number"), 0);
}

template <>
void read_operand<int>(Operand& op, const std::string& func, const char* arg, const py::handle& obj)
{
    auto out_of_range = [&](const std::string& value) {
        throw py::value_error(func + "(): argument '" + arg + "' = " + value +
                              " does not fit a C int");
    };
    if (PyLong_Check(obj.ptr())) {
        int overflow = 0;
        const long long v = PyLong_AsLongLongAndOverflow(obj.ptr(), &overflow);
        if (v == -1 && PyErr_Occurred())
            raise_for(func, arg);
        if (overflow || v < INT_MIN || v > INT_MAX)
            out_of_range(py::str(obj));
        store_raw(reinterpret_cast<char*>(op.scalar), v);
        op.data = reinterpret_cast<char*>(op.scalar);
        return;
    }
    py::array a = to_array(func, arg, obj);
    const char kind = a.dtype().kind();
    if (kind == 'O') {
        // Python ints beyond 64 bits, or ints mixed with other objects: NumPy keeps objects.
        PyObject* r = PyObject_CallMethod(a.ptr(), "astype", "O", py::dtype("int64").ptr());
        if (!r && PyErr_ExceptionMatches(PyExc_OverflowError)) {
            PyErr_Clear();
            throw py::value_error(func + "(): argument '" + arg +
                                  "' holds an integer that does not fit a C int");
        }
        if (!r)
            raise_for(func, arg);
        Py_DECREF(r);
    }
    if (std::string("biu").find(kind) == std::string::npos)
        fail_type(func, arg, "an integer", obj);
    // Unsigned 64-bit values above 2^63 would wrap on conversion: test them before it.
    if (kind == 'u' && a.size() > 0 &&
        py::cast<unsigned long long>(a.attr("max")()) > static_cast<unsigned long long>(INT_MAX))
        out_of_range(py::str(a.attr("max")()));
    if (!a.dtype().equal(py::dtype::of<long long>()))
        a = convert(func, arg, a, py::dtype::of<long long>());
    if (a.size() > 0) {
        for (const char* extreme : {"min", "max"}) {
            const long long v = py::cast<long long>(a.attr(extreme)());
            if (v < INT_MIN || v > INT_MAX)
                out_of_range(std::to_string(v));
        }
    }
    set_loop_view(op, a, 0);
}

template <>
void read_operand<Four>(Operand& op, const std::string& func, const char* arg,
                        const py::handle& obj)
{
    py::array a =
        as_array(func, arg, obj, "biuf", py::dtype::of<double>(), "a real array of four-vectors");
    if (a.ndim() == 0 || a.shape(a.ndim() - 1) != 4) {
        std::vector<ssize> shape(a.shape(), a.shape() + a.ndim());
        throw py::value_error(func + "(): argument '" + arg +
                              "' must have a last axis of length 4 (E, px, py, pz), got shape " +
                              shape_string(shape));
    }
    set_loop_view(op, a, 1);
}

unsigned long SignalPoll::main_thread = 0;

void SignalPoll::poll()
{
    count_ = 0;
    if (!main_)
        return;
    const Clock::time_point now = Clock::now();
    if (now - last_ < kInterval)
        return;
    last_ = now;
    if (released_) {
        py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0)
            throw py::error_already_set();
    } else if (PyErr_CheckSignals() != 0) {
        throw py::error_already_set();
    }
}

// The message for a fatal condition at the point of C-order position `flat` of `shape`:
// the function, the reason, the index and each argument's value there.
std::string describe_point(const std::string& func, const char* why, ssize flat,
                           const std::vector<ssize>& shape, size_t n, const char* const* names,
                           const char* const* base, const std::vector<ssize>* strides,
                           const ssize* core, const ShowFn* shows)
{
    std::vector<ssize> idx(shape.size());
    for (size_t d = shape.size(); d-- > 0;) {
        idx[d] = flat % shape[d];
        flat /= shape[d];
    }
    std::string msg = func + "(): " + why;
    if (!shape.empty())
        msg += " at index " + shape_string(idx);
    msg += ":";
    for (size_t k = 0; k < n; ++k) {
        const char* p = base[k];
        for (size_t d = 0; d < shape.size(); ++d)
            p += idx[d] * strides[k][d];
        msg += std::string(k ? ", " : " ") + names[k] + " = " + shows[k](p, core[k]);
    }
    return msg;
}

} // namespace twobody_py
