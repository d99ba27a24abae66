// twobody.CCHCalc: the Cartesian-harmonics calculator.
#include "broadcast.h"

#include <twobody/twobody.h>

#include <string>

namespace twobody_py {

namespace {

const char* const kClass = R"(CCHCalc()

Cartesian-harmonics calculator over process-wide shared tables.

The package keeps one calculator of its own for the whole session, so the tables stay built
and the release lines of the C++ class never appear (ClearStaticData(verbose=True) shows
them). Member functions broadcast their arguments. A lookup while the tables are released
raises ValueError. Not thread-safe: the calls hold the GIL.
See <twobody/cchcalc.h>.)";

// The library's informational lines go to the string of the current capture on this
// thread; outside a capture they are dropped, so that the package stays silent unasked.
thread_local std::string* captured_lines = nullptr;

void capture_line(const char* line) noexcept
{
    if (!captured_lines)
        return;
    try {
        captured_lines->append(line).push_back('\n');
    } catch (...) {
        // Out of memory: the line is lost, the release goes on.
    }
}

// Collects into `text` the lines sent while it lives.
class LineCapture {
public:
    explicit LineCapture(std::string& text) : saved_(captured_lines) { captured_lines = &text; }
    ~LineCapture() { captured_lines = saved_; }
    LineCapture(const LineCapture&) = delete;
    LineCapture& operator=(const LineCapture&) = delete;

private:
    std::string* saved_;
};

template <size_t>
using Obj = py::object;

// Defines a broadcasting member function over kernel f(const CCHCalc&, args...).
template <class F, class... A, class R, size_t... I>
void def_member_impl(py::class_<CCHCalc>& cls, const char* name, F f,
                     std::array<const char*, sizeof...(A)> names, const char* doc,
                     R (F::*)(const CCHCalc&, A...) const, std::index_sequence<I...>)
{
    const std::string qual = std::string("CCHCalc.") + name;
    cls.def(
        name,
        [qual, f, names](const CCHCalc& self, Obj<I>... a) {
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
void def_member(py::class_<CCHCalc>& cls, const char* name, F f,
                std::array<const char*, member_arity<F>> names, const char* doc)
{
    def_member_impl(cls, name, f, names, doc, &F::operator(),
                    std::make_index_sequence<member_arity<F>>());
}

const std::array<const char*, 6> kPair = {"a1", "a2", "a3", "b1", "b2", "b3"};
const std::array<const char*, 6> kDirection = {"lx", "ly", "lz", "ex", "ey", "ez"};
const std::array<const char*, 5> kAngles = {"lx", "ly", "lz", "theta", "phi"};

} // namespace

#define CCHCALC_SEE "\nSee <twobody/cchcalc.h>."

void bind_cchcalc(py::module_& m)
{
    Misc::setMessageHandler(capture_line);
    // The package's own calculator: keeps the tables alive for the whole session. Never
    // destroyed, so the release lines are never sent at exit.
    static CCHCalc* keeper = new CCHCalc;
    (void)keeper;

    py::class_<CCHCalc> cls(m, "CCHCalc", kClass);
    cls.def(py::init<>(), "CCHCalc()\n\nA calculator; counts as one more live object.");
    cls.def("__copy__", [](const CCHCalc& c) { return CCHCalc(c); });
    cls.def("__deepcopy__", [](const CCHCalc& c, py::dict) { return CCHCalc(c); });
    cls.def_property_readonly_static(
        "LMAXFACT", [](py::object) { return CCHCalc::LMAXFACT; },
        "Largest n whose factorial the tables hold.");

    cls.def(
        "InitStaticData", [](CCHCalc& c) { c.InitStaticData(); },
        "InitStaticData()\n\nBuilds every absent table." CCHCALC_SEE);
    cls.def(
        "ClearStaticData",
        [](CCHCalc& c, bool verbose) {
            std::string text;
            {
                LineCapture capture(text);
                c.ClearStaticData();
            }
            if (verbose && !text.empty())
                py::module_::import("sys").attr("stdout").attr("write")(text);
        },
        py::arg("verbose") = false,
        "ClearStaticData(verbose=False)\n\nReleases every table until InitStaticData().\n"
        "The class's two-line warning goes to sys.stdout only with verbose=True." CCHCALC_SEE);
    cls.def_static("LiveObjects", &CCHCalc::LiveObjects,
                   "LiveObjects() -> int\n\nNumber of live calculators, the package's own "
                   "included." CCHCALC_SEE);
    cls.def_static("TablesPresent", &CCHCalc::TablesPresent,
                   "TablesPresent() -> bool\n\nTrue while the tables are present." CCHCALC_SEE);
    cls.def_static("OverlapSlotFilled", &CCHCalc::OverlapSlotFilled, py::arg("a1"), py::arg("a2"),
                   py::arg("a3"),
                   "OverlapSlotFilled(a1, a2, a3) -> bool\n\nTrue if the overlap-cache slot of "
                   "the triple is filled." CCHCALC_SEE);
    cls.def(
        "iswitch",
        [](const CCHCalc& c, int x, int y) {
            c.iswitch(x, y);
            return py::make_tuple(x, y);
        },
        py::arg("x"), py::arg("y"),
        "iswitch(x, y) -> (y, x)\n\nThe two values exchanged, returned (Python ints are "
        "immutable)." CCHCALC_SEE);
    cls.def(
        "overlapinit", [](const CCHCalc& c, int a1, int a2, int a3) { c.overlapinit(a1, a2, a3); },
        py::arg("a1"), py::arg("a2"), py::arg("a3"),
        "overlapinit(a1, a2, a3)\n\nFills the overlap-cache slot of the triple." CCHCALC_SEE);

    def_member(
        cls, "Factorial", [](const CCHCalc& c, int n) { return c.Factorial(n); }, {"n"},
        "Factorial(n) -> float64\n\nn!." CCHCALC_SEE);
    def_member(
        cls, "DoubleFactorial", [](const CCHCalc& c, int n) { return c.DoubleFactorial(n); }, {"n"},
        "DoubleFactorial(n) -> float64\n\nn!!." CCHCALC_SEE);
    def_member(
        cls, "Binomial", [](const CCHCalc& c, int a, int b) { return c.Binomial(a, b); },
        {"a", "b"},
        "Binomial(a, b) -> float64\n\n(a + b)! / (a! b!): group sizes, not (n, k)." CCHCALC_SEE);
    def_member(
        cls, "Trinomial",
        [](const CCHCalc& c, int i, int j, int k) { return c.Trinomial(i, j, k); }, {"i", "j", "k"},
        "Trinomial(i, j, k) -> float64\n\n(i + j + k)! / (i! j! k!)." CCHCALC_SEE);
    def_member(
        cls, "GetOverlap",
        [](const CCHCalc& c, int a1, int a2, int a3, int b1, int b2, int b3) {
            return c.GetOverlap(a1, a2, a3, b1, b2, b3);
        },
        kPair,
        "GetOverlap(a1, a2, a3, b1, b2, b3) -> float64\n\nThe overlap O(a; b) over the unit "
        "sphere, from the cache." CCHCALC_SEE);
    def_member(
        cls, "GetOverlap0",
        [](const CCHCalc& c, int a1, int a2, int a3, int b1, int b2, int b3) {
            return c.GetOverlap0(a1, a2, a3, b1, b2, b3);
        },
        kPair,
        "GetOverlap0(a1, a2, a3, b1, b2, b3) -> float64\n\nThe overlap O(a; b) by its "
        "closed-form sum, touching no cache." CCHCALC_SEE);
    def_member(
        cls, "GetMFromE",
        [](const CCHCalc& c, int lx, int ly, int lz, double ex, double ey, double ez) {
            return c.GetMFromE(lx, ly, lz, ex, ey, ez);
        },
        kDirection,
        "GetMFromE(lx, ly, lz, ex, ey, ez) -> float64\n\nThe monomial ex^lx ey^ly "
        "ez^lz." CCHCALC_SEE);
    def_member(
        cls, "GetMFromThetaPhi",
        [](const CCHCalc& c, int lx, int ly, int lz, double theta, double phi) {
            return c.GetMFromThetaPhi(lx, ly, lz, theta, phi);
        },
        kAngles,
        "GetMFromThetaPhi(lx, ly, lz, theta, phi) -> float64\n\nGetMFromE of the direction "
        "(theta, phi)." CCHCALC_SEE);
    def_member(
        cls, "GetAFromE",
        [](const CCHCalc& c, int lx, int ly, int lz, double ex, double ey, double ez) {
            return c.GetAFromE(lx, ly, lz, ex, ey, ez);
        },
        kDirection,
        "GetAFromE(lx, ly, lz, ex, ey, ez) -> float64\n\nThe (lx, ly, lz) component of the "
        "traceless tensor power of the unit vector e." CCHCALC_SEE);
    def_member(
        cls, "GetAFromThetaPhi",
        [](const CCHCalc& c, int lx, int ly, int lz, double theta, double phi) {
            return c.GetAFromThetaPhi(lx, ly, lz, theta, phi);
        },
        kAngles,
        "GetAFromThetaPhi(lx, ly, lz, theta, phi) -> float64\n\nGetAFromE of the direction "
        "(theta, phi)." CCHCALC_SEE);
}

} // namespace twobody_py
