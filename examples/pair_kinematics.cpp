// Kinematics of a pion pair: the invariant relative momentum, its out-side-long components,
// a boost, and the K- p momentum at a given centre-of-mass energy.
#include <twobody/twobody.h>

#include <cmath>
#include <cstdio>

int main()
{
    const double mpi = 139.57039; // MeV
    auto pion = [mpi](double px, double py, double pz, double* p) {
        p[0] = std::sqrt(mpi * mpi + px * px + py * py + pz * pz);
        p[1] = px;
        p[2] = py;
        p[3] = pz;
    };
    double p1[4], p2[4];
    pion(300, 40, 120, p1);
    pion(260, -30, 150, p2);

    std::printf("qinv           %.10f\n", Misc::GetQinv(p1, p2));
    double qinv = 0, qout, qside, qlong;
    Misc::outsidelong(p1, p2, qinv, qout, qside, qlong);
    std::printf("qout           %.10f\n", qout);
    std::printf("qside          %.10f\n", qside);
    std::printf("qlong          %.10f\n", qlong);
    std::printf("dely           %.10f\n", Misc::GetDely(p1, p2));

    // A pion at rest boosted to four-velocity u comes out as m u.
    const double beta = 0.6, gamma = 1 / std::sqrt(1 - beta * beta);
    double u[4] = {gamma, 0, 0, gamma * beta}, rest[4] = {mpi, 0, 0, 0}, moving[4];
    Misc::lorentz(u, rest, moving);
    std::printf("boosted_pz     %.10f\n", moving[3]);

    // K- p at sqrt(s) = 1500 MeV: q^2 from the two-body formula.
    std::printf("q_kp           %.10f\n", std::sqrt(Misc::triangle(1500, 938.28, 493.677)));
    return 0;
}
