# Plots delta(q) of the three partial waves: the input rows (before the Coulomb correction)
# and the builder's tables (after it), over the whole grid and near threshold.
# usage: gnuplot -c scripts/plot.gp DIR   (DIR holds the three inputs and pk_phaseshifts.dat;
# writes DIR/phaseshifts.png)
dir = ARGC > 0 ? ARG1 : "."

mp = 938.28; mK = 493.677            # MeV
# Relative momentum of the pair for a kaon of laboratory momentum p on a proton at rest.
q(p) = p * mp / sqrt(mK**2 + mp**2 + 2 * mp * sqrt(p**2 + mK**2))
rad = pi / 180

set terminal pngcairo size 1200,520 font ",11"
set output dir . "/phaseshifts.png"
set multiplot layout 1,2 title "K^+p phase shifts: input rows (before the Coulomb correction) and tables (after)"
set xlabel "q (MeV/c)"
set ylabel "{/Symbol d} (rad)"
set grid
set style line 1 lc rgb "#1f77b4" lw 2
set style line 2 lc rgb "#d62728" lw 2
set style line 3 lc rgb "#2ca02c" lw 2
table = dir . "/pk_phaseshifts.dat"
# Rows 1..60 of each input; row 0 is never used.
input(w) = dir . "/" . w . ".dat"

do for [panel = 1:2] {
    if (panel == 1) {
        set xrange [0:350]; unset title; set key top left opaque
    } else {
        set xrange [0:60]; set title "near threshold"; set key bottom left opaque
    }
    set autoscale y
    plot table u 1:2 w l ls 1 t "S11 after", \
         input("s11") every ::1::60 u (q($1)):($2 * rad) w p ls 1 pt 6 t "S11 before", \
         table u 1:4 w l ls 2 t "P11 after", \
         input("p11") every ::1::60 u (q($1)):($2 * rad) w p ls 2 pt 4 t "P11 before", \
         table u 1:6 w l ls 3 t "P13 after", \
         input("p13") every ::1::60 u (q($1)):($2 * rad) w p ls 3 pt 8 t "P13 before"
}
unset multiplot
