// A program outside the project, built against an installed twobody.
#include <twobody/twobody.h>

#include <cstdio>

int main()
{
    // Momentum of either daughter of a 10 -> 6 + 0 decay at rest: (10^2 - 6^2) / 20.
    std::printf("%.2f\n", Misc::triangle(10, 6, 0));
    return 0;
}
