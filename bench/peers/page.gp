# gnuplot script for the benchmark page: the same frame, ranges, divisions and curve as
# Nikra's page, on an A4 page.
# Set on the command line with -e: term ('png', 'pdf' or 'svg'), out (the page to write),
# data (the data file: "x y" lines, blank lines between blocks) and draw (the commands
# that draw the curve, separated by ';', e.g. "plot data using 1:2 with lines lw 1
# linecolor 'black'"; they may use term and data).
if (term eq 'png') {
    set terminal png size 794,1123 background '#ffffff'
} else {
    if (term eq 'pdf') {
        set terminal pdfcairo size 21cm,29.7cm
    } else {
        if (term eq 'svg') {
            set terminal svg size 794,1123 background '#ffffff'
        } else {
            print sprintf("page.gp: unknown term '%s'", term)
            exit status 2
        }
    }
}
set output out

# The frame is 160 x 120 mm, its top-left corner 25 mm from the left and 20 mm from the
# top of the 210 x 297 mm page.
set lmargin at screen 25.0/210
set rmargin at screen 185.0/210
set tmargin at screen 1 - 20.0/297
set bmargin at screen 1 - 140.0/297

set xrange [0:100]
set yrange [-1.5:1.5]
set xtics 0, 10, 100 format '%.0f' nomirror
set ytics -1.5, 0.5, 1.5 format '%.1f' nomirror
unset mxtics
unset mytics
set grid xtics ytics linecolor 'black' dashtype 3 linewidth 1
set xlabel 'x'
set ylabel 'y'
unset key

@draw
