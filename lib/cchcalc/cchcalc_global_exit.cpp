// A calculator kept at namespace scope for the whole run, as a user program would keep it.
// Its destructor runs among the static destructors at exit and must release the tables
// exactly once, whatever the order in which the library's own statics are torn down.
#include <twobody/cchcalc.h>

#include <cstdio>

namespace {

CCHCalc calculator;

} // namespace

int main()
{
    // Fill an overlap slot so that the cache owns rows when it is released.
    const double o = calculator.GetOverlap(2, 1, 1, 0, 1, 3);
    std::printf("%s\n", o < 0.0 ? "overlap negative" : "overlap positive");
    return 0;
}
