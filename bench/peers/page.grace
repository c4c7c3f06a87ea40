# Grace batch commands for the benchmark page, run after the data sets are read.
# The page is 794 x 1123 points printed at 72 dpi, so the PNG is 794 x 1123 pixels and
# a line width of 1 is one pixel, as on Nikra's 96 dpi canvas.
# Viewport units: the page width (the shorter side) is 1; the frame is 160 x 120 mm with
# its top-left corner 25 mm from the left and 20 mm from the top of a 210 x 297 mm page.
page size 794, 1123
device "PNG" dpi 72
device "PNG" font antialiasing on
with g0
    view 0.119048, 0.747619, 0.880952, 1.319048
    world 0, -1.5, 100, 1.5
    frame linewidth 1.0
    legend off
    xaxis tick major 10
    xaxis tick minor ticks 0
    xaxis tick major grid on
    xaxis tick major linestyle 2
    xaxis ticklabel format decimal
    xaxis ticklabel prec 0
    xaxis label "x"
    yaxis tick major 0.5
    yaxis tick minor ticks 0
    yaxis tick major grid on
    yaxis tick major linestyle 2
    yaxis ticklabel format decimal
    yaxis ticklabel prec 1
    yaxis label "y"
