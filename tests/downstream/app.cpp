// A program outside the project, built against twobody: installed, or as a subproject.
#include <twobody/coulomb_correction.h>
#include <twobody/twobody.h>
#include <twobody/version.h>

#include <cstdio>

static_assert(TWOBODY_VERSION_MAJOR == 0, "twobody/version.h is the generated one");

int main()
{
    // Momentum of either daughter of a 10 -> 6 + 0 decay at rest: (10^2 - 6^2) / 20.
    std::printf("%.2f\n", Misc::triangle(10, 6, 0));
    return 0;
}
