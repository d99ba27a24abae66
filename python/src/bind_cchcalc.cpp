// twobody.CCHCalc: the Cartesian-harmonics calculator.
#include "broadcast.h"

#include <twobody/twobody.h>

#include <cstdio>
#include <unistd.h>

namespace twobody_py {

namespace {

const char* const kClass = R"(CCHCalc()

Cartesian-harmonics calculator: factorial, double-factorial, binomial and trinomial tables,
overlap integrals of traceless Cartesian tensor components over the unit sphere, and the
tensor components of a direction. An exponent triple (a1, a2, a3) names the monomial
n_x^a1 n_y^a2 n_z^a3 of degree L = a1 + a2 + a3. Angles are radians.

All calculators share one set of process-wide tables. In Python the package keeps one
calculator of its own for the whole session, so the tables are built at import, stay alive
while the interpreter runs (LiveObjects() counts that calculator too) and are never released
behind the user's back: the release messages the C++ class prints never appear. Call
ClearStaticData(verbose=True) to release the tables and see those messages.

Member functions broadcast their arguments like a ufunc; exponents and orders are
integers. Errors: while the tables are released (after ClearStaticData, before
InitStaticData) a call that reads them raises RuntimeError, where C++ would end the
process. Negative or out-of-table exponents give NaN, as in C++. Not thread-safe: the
calls hold the interpreter lock throughout.)";

// Raises instead of letting the C++ class end the process on a lookup in absent tables.
void need_tables(const char* name)
{
    if (!CCHCalc::TablesPresent())
        throw std::runtime_error(std::string("CCHCalc.") + name +
                                 "(): the shared tables are released; call InitStaticData() first");
}

// Runs f with the C stdout redirected to a scratch file; returns what f printed.
template <class F>
std::string capture_stdout(F&& f)
{
    std::fflush(stdout);
    std::FILE* scratch = std::tmpfile();
    const int saved = scratch ? dup(STDOUT_FILENO) : -1;
    if (saved < 0 || dup2(fileno(scratch), STDOUT_FILENO) < 0) {
        // No redirection possible: discard nothing rather than fail the call.
        if (saved >= 0)
            close(saved);
        if (scratch)
            std::fclose(scratch);
        f();
        return {};
    }
    try {
        f();
    } catch (...) {
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
        std::fclose(scratch);
        throw;
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text;
    std::rewind(scratch);
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, scratch)) > 0)
        text.append(buf, n);
    std::fclose(scratch);
    return text;
}

template <size_t>
using Obj = py::object;

// Defines a broadcasting member function over kernel f(const CCHCalc&, args...).
template <class F, class... A, class R, size_t... I>
void def_member_impl(py::class_<CCHCalc>& cls, const char* name, F f, bool tables,
                     std::array<const char*, sizeof...(A)> names, const char* doc,
                     R (F::*)(const CCHCalc&, A...) const, std::index_sequence<I...>)
{
    const std::string qual = std::string("CCHCalc.") + name;
    cls.def(
        name,
        [qual, name, f, tables, names](const CCHCalc& self, Obj<I>... a) {
            if (tables)
                need_tables(name);
            const CCHCalc* s = &self;
            auto bound = [s, f](A... x) -> R { return f(*s, x...); };
            // The tables and the overlap cache are shared: keep the GIL.
            return broadcast(qual, bound, {a...}, names, false);
        },
        py::arg(names[I])..., doc);
}

// Number of arguments of a member kernel, the calculator not counted.
template <class F>
constexpr size_t member_arity = std::tuple_size_v<typename Signature<F>::args> - 1;

template <class F>
void def_member(py::class_<CCHCalc>& cls, const char* name, F f, bool tables,
                std::array<const char*, member_arity<F>> names, const char* doc)
{
    def_member_impl(cls, name, f, tables, names, doc, &F::operator(),
                    std::make_index_sequence<member_arity<F>>());
}

const std::array<const char*, 6> kPair = {"a1", "a2", "a3", "b1", "b2", "b3"};

} // namespace

void bind_cchcalc(py::module_& m)
{
    // The package's own calculator: keeps the tables alive for the whole session. Never
    // destroyed, so the release messages are never printed at exit.
    static CCHCalc* keeper = new CCHCalc;
    (void)keeper;

    py::class_<CCHCalc> cls(m, "CCHCalc", kClass);
    cls.def(py::init<>(), "CCHCalc()\n\nA calculator; counts as one more live object.");
    cls.def("__copy__", [](const CCHCalc& c) { return CCHCalc(c); });
    cls.def("__deepcopy__", [](const CCHCalc& c, py::dict) { return CCHCalc(c); });
    cls.def_property_readonly_static(
        "LMAXFACT", [](py::object) { return CCHCalc::LMAXFACT; },
        "Largest n whose factorial the tables hold (56).");

    cls.def(
        "InitStaticData", [](CCHCalc& c) { c.InitStaticData(); },
        "InitStaticData()\n\nBuilds every absent table; present tables and filled overlap slots "
        "are kept.");
    cls.def(
        "ClearStaticData",
        [](CCHCalc& c, bool verbose) {
            const std::string text = capture_stdout([&] { c.ClearStaticData(); });
            if (verbose && !text.empty())
                py::module_::import("sys").attr("stdout").attr("write")(text);
        },
        py::arg("verbose") = false,
        "ClearStaticData(verbose=False)\n\nReleases every table, also the overlap cache, until "
        "InitStaticData() builds them again.\nThe C++ class prints a two-line warning here; it is "
        "written to sys.stdout only with verbose=True.");
    cls.def_static("LiveObjects", &CCHCalc::LiveObjects,
                   "LiveObjects() -> int\n\nNumber of live calculators, the package's own "
                   "included.");
    cls.def_static("TablesPresent", &CCHCalc::TablesPresent,
                   "TablesPresent() -> bool\n\nTrue while the tables are present.");
    cls.def_static("OverlapSlotFilled", &CCHCalc::OverlapSlotFilled, py::arg("a1"), py::arg("a2"),
                   py::arg("a3"),
                   "OverlapSlotFilled(a1, a2, a3) -> bool\n\nTrue if the tables are present and "
                   "the overlap-cache slot of the triple (any order) is filled.");
    cls.def(
        "iswitch",
        [](const CCHCalc& c, int x, int y) {
            c.iswitch(x, y);
            return py::make_tuple(x, y);
        },
        py::arg("x"), py::arg("y"), "iswitch(x, y) -> (y, x)\n\nThe two values exchanged.");
    cls.def(
        "overlapinit",
        [](const CCHCalc& c, int a1, int a2, int a3) {
            need_tables("overlapinit");
            c.overlapinit(a1, a2, a3);
        },
        py::arg("a1"), py::arg("a2"), py::arg("a3"),
        "overlapinit(a1, a2, a3)\n\nFills the overlap-cache slot of the triple (any order) if it "
        "is empty. Does nothing\nfor a negative exponent or a1 + a2 + a3 > LMAXFACT.");

    def_member(
        cls, "Factorial", [](const CCHCalc& c, int n) { return c.Factorial(n); }, true, {"n"},
        "Factorial(n) -> float64\n\nn!; exact for n <= 22, +inf from n = 171 on, NaN for n < 0.");
    def_member(
        cls, "DoubleFactorial", [](const CCHCalc& c, int n) { return c.DoubleFactorial(n); }, true,
        {"n"},
        "DoubleFactorial(n) -> float64\n\nn!! with 0!! = 1!! = (-1)!! = 1; +inf once it "
        "overflows, NaN for n < -1.");
    def_member(
        cls, "Binomial", [](const CCHCalc& c, int a, int b) { return c.Binomial(a, b); }, true,
        {"a", "b"},
        "Binomial(a, b) -> float64\n\n(a + b)! / (a! b!) (group sizes, not (n, k): Binomial(2, "
        "3) = 10). NaN if a < 0 or b < 0.");
    def_member(
        cls, "Trinomial",
        [](const CCHCalc& c, int i, int j, int k) { return c.Trinomial(i, j, k); }, true,
        {"i", "j", "k"},
        "Trinomial(i, j, k) -> float64\n\n(i + j + k)! / (i! j! k!). NaN if any argument is "
        "negative.");
    def_member(
        cls, "GetOverlap",
        [](const CCHCalc& c, int a1, int a2, int a3, int b1, int b2, int b3) {
            return c.GetOverlap(a1, a2, a3, b1, b2, b3);
        },
        true, kPair,
        "GetOverlap(a1, a2, a3, b1, b2, b3) -> float64\n\nThe overlap O(a; b), the integral over "
        "the unit sphere of A_a(n) A_b(n); 4 pi for\na = b = (0, 0, 0), 0 when the degrees differ "
        "or some a_m - b_m is odd. Cached for\na1 + a2 + a3 <= LMAXFACT. NaN if any exponent is "
        "negative.");
    def_member(
        cls, "GetOverlap0",
        [](const CCHCalc& c, int a1, int a2, int a3, int b1, int b2, int b3) {
            return c.GetOverlap0(a1, a2, a3, b1, b2, b3);
        },
        true, kPair,
        "GetOverlap0(a1, a2, a3, b1, b2, b3) -> float64\n\nO(a; b) by its closed-form sum, "
        "touching no cache. Valid for every exponent in\n0..LMAXFACT and degree <= 57; NaN "
        "outside.");
    def_member(
        cls, "GetMFromE",
        [](const CCHCalc& c, int lx, int ly, int lz, double ex, double ey, double ez) {
            return c.GetMFromE(lx, ly, lz, ex, ey, ez);
        },
        false, {"lx", "ly", "lz", "ex", "ey", "ez"},
        "GetMFromE(lx, ly, lz, ex, ey, ez) -> float64\n\nThe monomial ex^lx ey^ly ez^lz, any "
        "exponents (a negative one gives the reciprocal).");
    def_member(
        cls, "GetMFromThetaPhi",
        [](const CCHCalc& c, int lx, int ly, int lz, double theta, double phi) {
            return c.GetMFromThetaPhi(lx, ly, lz, theta, phi);
        },
        false, {"lx", "ly", "lz", "theta", "phi"},
        "GetMFromThetaPhi(lx, ly, lz, theta, phi) -> float64\n\nGetMFromE of the unit vector "
        "(cos phi sin theta, sin phi sin theta, cos theta).");
    def_member(
        cls, "GetAFromE",
        [](const CCHCalc& c, int lx, int ly, int lz, double ex, double ey, double ez) {
            return c.GetAFromE(lx, ly, lz, ex, ey, ez);
        },
        true, {"lx", "ly", "lz", "ex", "ey", "ez"},
        "GetAFromE(lx, ly, lz, ex, ey, ez) -> float64\n\nThe (lx, ly, lz) component of the "
        "traceless part of e (x) ... (x) e for a unit\nvector e (not normalised here). 1 for L = "
        "0. Valid for each exponent in 0..LMAXFACT\nand L <= 57; NaN outside.");
    def_member(
        cls, "GetAFromThetaPhi",
        [](const CCHCalc& c, int lx, int ly, int lz, double theta, double phi) {
            return c.GetAFromThetaPhi(lx, ly, lz, theta, phi);
        },
        true, {"lx", "ly", "lz", "theta", "phi"},
        "GetAFromThetaPhi(lx, ly, lz, theta, phi) -> float64\n\nGetAFromE of the unit vector of "
        "the angles (radians).");
}

} // namespace twobody_py
