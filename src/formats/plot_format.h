#pragma once
// The values of one Format Data file under their key names. Integer keys are 16-bit, real
// keys single precision, as the files have always been read; lengths are page millimetres.

#include <QString>

#include <cstdint>

namespace nikra {

struct PlotFormat {
    // Line 4: x frame.
    float XWD = 0, XMN = 0, XMX = 0;
    std::int16_t XLG = 0;
    float XSF = 0, RSZ = 0, CSZ = 0;
    std::int16_t FNT = 0;
    // Line 6: y frame.
    float YWD = 0, YMN = 0, YMX = 0;
    std::int16_t YLG = 0;
    float YSP = 0;
    // Line 9: x numbers.
    float XNS = 0;
    std::int16_t XND = 0;
    float XDV = 0, XDS = 0;
    // Line 11: y numbers.
    float YNS = 0;
    std::int16_t YND = 0;
    float YDV = 0, YDS = 0;
    // Line 14: x title.
    float XLS = 0;
    std::int16_t XLP = 0;
    QString XLB;
    // Line 16: y title.
    float YLS = 0;
    std::int16_t YLP = 0;
    QString YLB;
};

// One curve line (line 19 onward): the style of one data block.
struct CurveStyle {
    std::int16_t PTP = 0;
    float PSZ = 0;
    std::int16_t PCL = 0;
    std::int16_t LTP = 0;
    std::int16_t IPL = 0;
    std::int16_t RPS = 0;
    float RDS = 0;
    QString RLB;
};

// The two faces chosen by FNT: LabelFace for axis numbers and titles, CommentFace for
// comments and legend labels. Faces are named as users write them in their files.
struct FontFaces {
    QString label;
    QString comment;
};

// The faces of an FNT value; values outside 0..7 take the faces of 0.
FontFaces facesForFnt(int fnt);

} // namespace nikra
