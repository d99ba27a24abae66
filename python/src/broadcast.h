// Broadcasting of scalar C++ functions over NumPy arrays, with the loop in C++.
//
// A kernel is a lambda with a fixed signature, e.g. (int l, double x, double eta) ->
// std::tuple<double, double>. Its parameter types choose how each Python argument is read:
//   double               any real number or real array (bool, int, float dtypes)
//   int                  an integer or integer array; values must fit a C int
//   std::complex<double> any number or numeric array
//   Four                 an array whose last axis has length 4 (a four-vector)
// and its result type how the outputs are made (double -> float64, long long -> int64,
// std::complex<double> -> complex128, Four -> float64 with a trailing axis 4; a tuple gives a
// tuple of arrays). The arguments broadcast against one another as in a NumPy ufunc; when
// every argument is a scalar the results are NumPy scalars.
#ifndef TWOBODY_PY_BROADCAST_H
#define TWOBODY_PY_BROADCAST_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace twobody_py {

namespace py = pybind11;
using ssize = py::ssize_t;
using cplx = std::complex<double>;

// A four-vector, energy first (or any four-component item).
struct Four {
    double v[4];
};

// ---------------------------------------------------------------------------------------
// Element types: how one item is read from or written to memory, and its NumPy dtype. Every
// array the loop sees is aligned for its type (an unaligned input is copied first, and the
// outputs are made here), so items are read and written in place.

template <class T>
inline T load_raw(const char* p)
{
    return *reinterpret_cast<const T*>(p);
}

template <class T>
inline void store_raw(char* p, const T& v)
{
    *reinterpret_cast<T*>(p) = v;
}

template <class T>
struct Elem;

template <>
struct Elem<double> {
    using stored = double;
    static constexpr int core = 0;
    static double load(const char* p, ssize) { return load_raw<double>(p); }
    static void store(char* p, ssize, double v) { store_raw(p, v); }
    static std::string show(const char* p, ssize) { return fmt(load(p, 0)); }
    // The shortest decimal form that reads back as v.
    static std::string fmt(double v)
    {
        char buf[32];
        for (int digits = 15; digits <= 17; ++digits) {
            std::snprintf(buf, sizeof buf, "%.*g", digits, v);
            if (std::strtod(buf, nullptr) == v || v != v)
                break;
        }
        return buf;
    }
};

template <>
struct Elem<int> {
    using stored = long long; // read from int64 arrays, range-checked first
    static constexpr int core = 0;
    static int load(const char* p, ssize) { return static_cast<int>(load_raw<long long>(p)); }
    static std::string show(const char* p, ssize) { return std::to_string(load_raw<long long>(p)); }
};

template <>
struct Elem<long long> {
    using stored = long long;
    static constexpr int core = 0;
    static void store(char* p, ssize, long long v) { store_raw(p, v); }
};

template <>
struct Elem<cplx> {
    using stored = cplx;
    static constexpr int core = 0;
    static cplx load(const char* p, ssize) { return load_raw<cplx>(p); }
    static void store(char* p, ssize, cplx v) { store_raw(p, v); }
    static std::string show(const char* p, ssize)
    {
        const cplx z = load(p, 0);
        return "(" + Elem<double>::fmt(z.real()) + (std::signbit(z.imag()) ? "-" : "+") +
               Elem<double>::fmt(std::abs(z.imag())) + "j)";
    }
};

template <>
struct Elem<Four> {
    using stored = double;
    static constexpr int core = 4;
    static Four load(const char* p, ssize core_stride)
    {
        Four f;
        for (int i = 0; i < 4; ++i)
            f.v[i] = load_raw<double>(p + i * core_stride);
        return f;
    }
    static void store(char* p, ssize core_stride, const Four& f)
    {
        for (int i = 0; i < 4; ++i)
            store_raw(p + i * core_stride, f.v[i]);
    }
    static std::string show(const char* p, ssize core_stride)
    {
        const Four f = load(p, core_stride);
        std::string s = "[";
        for (int i = 0; i < 4; ++i)
            s += (i ? ", " : "") + Elem<double>::fmt(f.v[i]);
        return s + "]";
    }
};

// ---------------------------------------------------------------------------------------
// Kernel signatures.

template <class F>
struct Signature : Signature<decltype(&F::operator())> {
};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const> {
    using result = R;
    using args = std::tuple<A...>;
};

template <class R>
struct Outputs {
    using types = std::tuple<R>;
    static constexpr bool tuple = false;
    static types wrap(R r) { return types(std::move(r)); }
};
template <class... R>
struct Outputs<std::tuple<R...>> {
    using types = std::tuple<R...>;
    static constexpr bool tuple = true;
    static types wrap(types r) { return r; }
};

// ---------------------------------------------------------------------------------------
// Operands: one argument or result, seen as a strided array over the loop dimensions.

struct Operand {
    py::object keep;            // the array that owns the memory, if any
    char* data = nullptr;       // first element
    std::vector<ssize> shape;   // loop shape (core axis removed)
    std::vector<ssize> strides; // bytes, one per loop axis
    ssize core_stride = 0;      // bytes between the four components of a Four
    alignas(16) unsigned char scalar[16] = {};
};

// Reads one Python argument of kernel type T into op; a conversion error names func and arg.
template <class T>
void read_operand(Operand& op, const std::string& func, const char* arg, const py::handle& obj);
template <>
void read_operand<double>(Operand&, const std::string&, const char*, const py::handle&);
template <>
void read_operand<cplx>(Operand&, const std::string&, const char*, const py::handle&);
template <>
void read_operand<int>(Operand&, const std::string&, const char*, const py::handle&);
template <>
void read_operand<Four>(Operand&, const std::string&, const char*, const py::handle&);

// "(2, 3)", "(5,)" or "()".
std::string shape_string(const std::vector<ssize>& shape);

// ---------------------------------------------------------------------------------------
// The loop.

// Broadcasts the loop shapes of the inputs; fills each input's strides for the result shape.
template <size_t N>
std::vector<ssize> broadcast_shapes(std::array<Operand, N>& in, const std::string& func)
{
    size_t nd = 0;
    for (auto& op : in)
        nd = std::max(nd, op.shape.size());
    std::vector<ssize> shape(nd, 1);
    for (auto& op : in) {
        const size_t off = nd - op.shape.size();
        for (size_t d = 0; d < op.shape.size(); ++d) {
            const ssize n = op.shape[d];
            if (n == 1)
                continue;
            if (shape[off + d] != 1 && shape[off + d] != n) {
                std::string msg = func + "(): operands could not be broadcast together with "
                                         "shapes";
                for (auto& o : in)
                    msg += " " + shape_string(o.shape);
                throw py::value_error(msg);
            }
            shape[off + d] = n;
        }
    }
    for (auto& op : in) {
        std::vector<ssize> strides(nd, 0);
        const size_t off = nd - op.shape.size();
        for (size_t d = 0; d < op.shape.size(); ++d)
            strides[off + d] = op.shape[d] == 1 ? 0 : op.strides[d];
        op.strides = std::move(strides);
    }
    return shape;
}

// Looks for pending signals (Ctrl-C) about every tenth of a second of work, so that a long
// call can be interrupted: Python runs its handlers, and a raised KeyboardInterrupt ends the
// loop. Only the main thread receives them; a loop without the GIL takes it back briefly.
class SignalPoll {
public:
    explicit SignalPoll(bool released)
        : released_(released), main_(PyThread_get_thread_ident() == main_thread),
          last_(Clock::now())
    {
    }

    // Called after every `points` points; the clock is read once per kPoints of them.
    void tick(ssize points)
    {
        if ((count_ += points) >= kPoints)
            poll();
    }

    // The main thread's identity, set at import.
    static unsigned long main_thread;

    // Points between two readings of the clock.
    static constexpr ssize kPoints = 1024;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{100};

    // Rarely taken: kept out of the loops' way.
    [[gnu::cold]] void poll();

    bool released_, main_;
    ssize count_ = 0;
    Clock::time_point last_;
};

// Merges axis d into d-1 wherever every operand steps through both as through one axis, so
// that contiguous data runs in a single inner loop. Shared by every kernel of N operands.
template <size_t N>
void merge_axes(std::vector<ssize>& shape, std::array<std::vector<ssize>, N>& strides)
{
    for (size_t d = shape.size(); d-- > 1;) {
        bool merge = true;
        for (size_t k = 0; k < N && merge; ++k)
            merge = strides[k][d - 1] == strides[k][d] * shape[d];
        if (merge) {
            shape[d - 1] *= shape[d];
            shape.erase(shape.begin() + d);
            for (auto& s : strides) {
                s[d - 1] = s[d];
                s.erase(s.begin() + d);
            }
        }
    }
}

// Runs f(ptrs) for every point of `shape`, in C order. Rows are cut into runs of at most
// SignalPoll::kPoints points, with a tick of `poll` after each.
template <size_t N, class F>
void loop(std::vector<ssize> shape, std::array<char*, N> base,
          std::array<std::vector<ssize>, N> strides, SignalPoll& poll, F&& f)
{
    for (ssize n : shape)
        if (n == 0)
            return;
    merge_axes(shape, strides);
    const size_t nd = shape.size();
    if (nd == 0) {
        f(base);
        return;
    }
    // The odometer's last digit counts the runs of a row.
    const ssize inner = shape[nd - 1], kRun = SignalPoll::kPoints;
    shape[nd - 1] = (inner + kRun - 1) / kRun;
    std::vector<ssize> idx(nd, 0);
    std::array<ssize, N> step;
    for (size_t k = 0; k < N; ++k)
        step[k] = strides[k][nd - 1];
    for (;;) {
        const ssize first = idx[nd - 1] * kRun, count = std::min(kRun, inner - first);
        std::array<char*, N> p = base;
        for (size_t k = 0; k < N; ++k) {
            for (size_t d = 0; d + 1 < nd; ++d)
                p[k] += idx[d] * strides[k][d];
            p[k] += first * step[k];
        }
        for (ssize i = 0; i < count; ++i) {
            f(p);
            for (size_t k = 0; k < N; ++k)
                p[k] += step[k];
        }
        poll.tick(count);
        size_t d = nd;
        for (;;) {
            if (d == 0)
                return;
            --d;
            if (++idx[d] < shape[d])
                break;
            idx[d] = 0;
        }
    }
}

// A fatal condition of the library (a broken precondition it cannot answer), thrown by the
// handler the package installs, so that the call raises ValueError instead of ending the
// interpreter.
struct Fatal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Shows one argument's item, for a message.
using ShowFn = std::string (*)(const char*, ssize);

// The message for a fatal condition at the point of C-order position `flat` of `shape`:
// the function, the reason, the index and each argument's value there.
std::string describe_point(const std::string& func, const char* why, ssize flat,
                           const std::vector<ssize>& shape, size_t n, const char* const* names,
                           const char* const* base, const std::vector<ssize>* strides,
                           const ssize* core, const ShowFn* shows);

inline py::object numpy_scalar(const py::array& a) { return a[py::tuple()]; }

template <class T>
py::array make_output(const std::vector<ssize>& shape)
{
    std::vector<ssize> s = shape;
    if (Elem<T>::core)
        s.push_back(Elem<T>::core);
    return py::array_t<typename Elem<T>::stored>(s);
}

// Evaluates kernel f over the broadcast arguments. A fatal condition met at some point raises
// ValueError naming the point's index and values; the partial results are dropped. With
// `release` the GIL is released during the loop (never for code that touches shared state).
template <class F, class... A, class R, size_t... I, size_t... J>
py::object apply(const std::string& func, const F& f,
                 const std::array<py::handle, sizeof...(A)>& args,
                 const std::array<const char*, sizeof...(A)>& names, bool release,
                 std::tuple<A...>*, R*, std::index_sequence<I...>, std::index_sequence<J...>)
{
    using Out = Outputs<R>;
    using OutTypes = typename Out::types;
    constexpr size_t NI = sizeof...(A), NO = sizeof...(J);
    std::array<Operand, NI> in;
    (read_operand<std::decay_t<A>>(in[I], func, names[I], args[I]), ...);
    const std::vector<ssize> shape = broadcast_shapes(in, func);

    std::array<py::array, NO> out = {make_output<std::tuple_element_t<J, OutTypes>>(shape)...};
    std::array<char*, NI + NO> base;
    std::array<std::vector<ssize>, NI + NO> strides;
    std::array<ssize, NI + NO> core{};
    for (size_t k = 0; k < NI; ++k) {
        base[k] = in[k].data;
        strides[k] = in[k].strides;
        core[k] = in[k].core_stride;
    }
    for (size_t k = 0; k < NO; ++k) {
        base[NI + k] = static_cast<char*>(out[k].mutable_data());
        strides[NI + k].assign(out[k].strides(), out[k].strides() + shape.size());
        if (out[k].ndim() > static_cast<ssize>(shape.size()))
            core[NI + k] = out[k].strides(out[k].ndim() - 1);
    }

    std::string failed;
    SignalPoll poll(release);
    {
        std::unique_ptr<py::gil_scoped_release> nogil;
        if (release)
            nogil = std::make_unique<py::gil_scoped_release>();
        const char* failed_at = nullptr; // the failed point's place in the first output
        try {
            loop(shape, base, strides, poll, [&](const std::array<char*, NI + NO>& p) {
                try {
                    OutTypes r = Out::wrap(f(Elem<std::decay_t<A>>::load(p[I], core[I])...));
                    (Elem<std::tuple_element_t<J, OutTypes>>::store(p[NI + J], core[NI + J],
                                                                    std::get<J>(r)),
                     ...);
                } catch (const Fatal&) {
                    failed_at = p[NI];
                    throw;
                }
            });
        } catch (const Fatal& e) {
            // The first output is C-contiguous: its offset counts the points in C order.
            const ssize flat =
                shape.empty() ? 0 : (failed_at - base[NI]) / strides[NI][shape.size() - 1];
            const std::array<const char*, NI> at = {base[I]...};
            const std::array<ShowFn, NI> shows = {&Elem<std::decay_t<A>>::show...};
            failed = describe_point(func, e.what(), flat, shape, NI, names.data(), at.data(),
                                    strides.data(), core.data(), shows.data());
        }
    }
    if (!failed.empty())
        throw py::value_error(failed);

    auto result = [&](size_t k) -> py::object {
        return out[k].ndim() == 0 ? numpy_scalar(out[k]) : py::object(out[k]);
    };
    if constexpr (Out::tuple)
        return py::make_tuple(result(J)...);
    else
        return result(0);
}

template <class F>
py::object
broadcast(const std::string& func, const F& f,
          const std::array<py::handle, std::tuple_size_v<typename Signature<F>::args>>& args,
          const std::array<const char*, std::tuple_size_v<typename Signature<F>::args>>& names,
          bool release)
{
    using Sig = Signature<F>;
    using R = typename Sig::result;
    constexpr size_t NI = std::tuple_size_v<typename Sig::args>;
    constexpr size_t NO = std::tuple_size_v<typename Outputs<R>::types>;
    return apply(func, f, args, names, release, static_cast<typename Sig::args*>(nullptr),
                 static_cast<R*>(nullptr), std::make_index_sequence<NI>(),
                 std::make_index_sequence<NO>());
}

// ---------------------------------------------------------------------------------------
// Definition of a module function from a kernel.

template <size_t>
using Obj = py::object;

template <class F, size_t... I>
void def_impl(py::module_& m, const std::string& qual, const char* name, F f,
              std::array<const char*, sizeof...(I)> names, const char* doc,
              std::index_sequence<I...>)
{
    m.def(
        name, [qual, f, names](Obj<I>... a) { return broadcast(qual, f, {a...}, names, true); },
        py::arg(names[I])..., doc);
}

// Defines m.name(args...) over kernel f, run without the GIL; `prefix` is the submodule's
// name, for messages.
template <class F>
void def(py::module_& m, const char* prefix, const char* name, F f,
         std::array<const char*, std::tuple_size_v<typename Signature<F>::args>> names,
         const char* doc)
{
    constexpr size_t NI = std::tuple_size_v<typename Signature<F>::args>;
    const std::string qual = std::string(prefix) + "." + name;
    def_impl(m, qual, name, f, names, doc, std::make_index_sequence<NI>());
}

// The bindings of each namespace.
void bind_coulwave(py::module_& m);
void bind_bessel(py::module_& m);
void bind_spherharmonics(py::module_& m);
void bind_misc(py::module_& m);
void bind_cchcalc(py::module_& m);
void bind_phaseshift(py::module_& m);

} // namespace twobody_py

#endif
