// Pages drawn from short public measured records (data/: New Haven's yearly mean
// temperature, the vapour pressure of mercury, Lake Huron's yearly level less 579 ft, Old
// Faithful's eruptions), compared with positions worked out here from the numbers alone:
// frame fractions, log10 on a log axis, and the Chebyshev series evaluated independently in
// long double.

#include "plot/curves/curve_fit.h"
#include "plot_test_helpers.h"

#include <QFile>
#include <QtTest>

#include <cmath>
#include <cstdlib>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

using Real = long double;

struct Record {
    std::vector<float> x;
    std::vector<float> y;
};

QByteArray recordBytes(const QString &name)
{
    QFile file(QStringLiteral(NIKRA_PLOT_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One block: its point count, then "x,y" a line.
Record readRecord(const QByteArray &bytes)
{
    Record r;
    const QList<QByteArray> lines = bytes.trimmed().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> xy = lines[i].trimmed().split(',');
        r.x.push_back(std::strtof(xy[0].constData(), nullptr));
        r.y.push_back(std::strtof(xy[1].constData(), nullptr));
    }
    return r;
}

QByteArray recordFile(const Record &r)
{
    QByteArray out = QByteArray::number(qsizetype(r.x.size())) + "\r\n";
    for (std::size_t i = 0; i < r.x.size(); ++i)
        out += QByteArray::number(double(r.x[i]), 'g', 9) + ',' + QByteArray::number(double(r.y[i]), 'g', 9) + "\r\n";
    return out;
}

// The frame of FormatFile on the page: x from 25 mm, 100 x 80 mm, top at 10 mm. The ranges
// are single-precision keys, as the file is read.
struct Axes {
    Axes(Real x0, Real x1, Real y0, Real y1) : xmn(float(x0)), xmx(float(x1)), ymn(float(y0)), ymx(float(y1)) {}
    Real xmn, xmx, ymn, ymx;
    Real left = 25, bottom = 90, width = 100, height = 80;
    Real pageX(Real x) const { return left + width * (x - xmn) / (xmx - xmn); }
    Real pageY(Real y) const { return bottom - height * (y - ymn) / (ymx - ymn); }
};

FormatFile formatFor(const Axes &a, const QString &curve, bool yLog = false)
{
    FormatFile f;
    f.line4 = QStringLiteral("100, %1, %2, 0, 0, 0, 0, 0").arg(double(a.xmn), 0, 'g', 17).arg(double(a.xmx), 0, 'g', 17);
    f.line6 = QStringLiteral("80, %1, %2, %3, 0").arg(double(a.ymn), 0, 'g', 17).arg(double(a.ymx), 0, 'g', 17).arg(yLog ? 1 : 0);
    f.curves = QStringList{curve};
    return f;
}

// Every drawn point within one device unit of where the test puts it: the rounding of the
// device, as a value a hair either side of a half rounds either way.
void compareCurve(const std::vector<DevicePoint> &drawn, const DeviceProfile &p, const std::vector<Real> &x,
                  const std::vector<Real> &y, const Axes &a, const QString &what = {})
{
    QCOMPARE(drawn.size(), x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const long long wantX = std::llround(a.pageX(x[i]) * Real(p.devPerMmX));
        const long long wantY = std::llround(a.pageY(y[i]) * Real(p.devPerMmY));
        QVERIFY2(std::llabs(drawn[i].x - wantX) <= 1 && std::llabs(drawn[i].y - wantY) <= 1,
                 qPrintable(QStringLiteral("%1point %2 (x %3): drawn %4,%5, expected %6,%7")
                                .arg(what).arg(i).arg(double(x[i]), 0, 'g', 12).arg(drawn[i].x).arg(drawn[i].y)
                                .arg(wantX).arg(wantY)));
    }
}

// The abscissae of a fitted curve: each data x and m evenly spaced ones before the next.
std::vector<float> curveAbscissae(const std::vector<float> &x, int m)
{
    std::vector<float> out;
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        for (int j = 0; j <= m; ++j)
            out.push_back(float((Real(x[i]) * (m + 1 - j) + Real(x[i + 1]) * j) / (m + 1)));
    }
    out.push_back(x.back());
    return out;
}

// The Chebyshev series of degree m: values resampled at the nodes cos((2k + 1) 1.570796326 /
// (m + 1)) (straight lines in the end intervals, else the polynomial through all points,
// a straight line again where that runs wild), coefficients by the cosine sums, and the
// sum c_k T_k(u), u = (x - mid) / half, all in long double.
std::vector<Real> chebyshevValues(const Record &r, int m, const std::vector<float> &at)
{
    const Real halfPi = 1.570796326L;
    const std::size_t n = r.x.size(), M = std::size_t(m) + 1;
    const Real xa = r.x.front(), xb = r.x.back();
    std::vector<Real> u(n);
    for (std::size_t i = 0; i < n; ++i)
        u[i] = float((2 * Real(r.x[i]) - xa - xb) / (xb - xa));
    const auto [low, high] = std::minmax_element(r.y.begin(), r.y.end());
    const Real spread = Real(*high) - *low;
    auto line = [&](std::size_t a, Real t) { return (t - u[a]) / (u[a + 1] - u[a]) * (Real(r.y[a + 1]) - r.y[a]) + r.y[a]; };

    std::vector<Real> theta(M), f(M), c(M);
    for (std::size_t k = 0; k < M; ++k) {
        theta[k] = float((2 * Real(k) + 1) * halfPi / Real(M));
        const Real t = float(std::cos(theta[k]));
        std::size_t above = 0;  // the first data point at or right of t, 0-based
        while (above < n && !(t < u[above]))
            ++above;
        Real value = 0;
        if (above >= n - 1 || above <= 1) {
            value = line(above <= 1 ? 0 : n - 2, t);
        } else {
            for (std::size_t j = 0; j < n; ++j) {
                Real product = r.y[j];
                for (std::size_t i = 0; i < n; ++i)
                    product *= i == j ? 1 : (t - u[i]) / (u[j] - u[i]);
                value += product;
            }
            if (!std::isfinite(value) || value < *low - spread || value > *high + spread)
                value = line(above - 1, t);
        }
        f[k] = float(value);
    }
    for (std::size_t k = 0; k < M; ++k) {
        for (std::size_t i = 0; i < M; ++i)
            c[k] += f[i] * std::cos(Real(k) * theta[i]);
        c[k] *= Real(k == 0 ? 1 : 2) / Real(M);
    }
    // The series summed as cos(k acos u): the single-precision constant terms of the
    // program's polynomials move the curve by parts in 10^9, far below a device unit.
    const Real mid = (xa + xb) / 2, half = (xb - xa) / 2;
    std::vector<Real> out;
    for (const float x : at) {
        const Real angle = std::acos(std::clamp((Real(x) - mid) / half, Real(-1), Real(1)));
        Real sum = 0;
        for (std::size_t k = 0; k < M; ++k)
            sum += c[k] * std::cos(Real(k) * angle);
        out.push_back(sum);
    }
    return out;
}

std::vector<Real> widened(const std::vector<float> &v) { return {v.begin(), v.end()}; }

} // namespace

class TestRealData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordsOnThePage_data();
    void recordsOnThePage();
    void chebyshevAtEveryDegree_data();
    void chebyshevAtEveryDegree();
};

void TestRealData::recordsOnThePage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("ranges");  // xmn xmx ymn ymx
    QTest::addColumn<bool>("yLog");
    QTest::addColumn<QString>("curve");
    const QString line = u"0, 0, 0, 0, 0, 0, 0, a"_s;
    QTest::newRow("yearly temperature") << u"nhtemp.dat"_s << u"1910 1975 45 55"_s << false << line;
    QTest::newRow("vapour pressure, log y") << u"pressure.dat"_s << u"0 400 -4 3"_s << true << line;
    QTest::newRow("lake level, negative") << u"lakehuron.dat"_s << u"1870 1975 -4 4"_s << false << line;
    QTest::newRow("eruptions, scatter") << u"faithful.dat"_s << u"1 6 40 100"_s << false
                                        << u"1, 1.5, 4, 7, 0, 0, 0, a"_s;
}

void TestRealData::recordsOnThePage()
{
    // Lines and markers where the numbers put them.
    QFETCH(QString, file);
    QFETCH(QString, ranges);
    QFETCH(bool, yLog);
    QFETCH(QString, curve);
    const QByteArray bytes = recordBytes(file);
    QVERIFY(!bytes.isEmpty());
    Record r = readRecord(bytes);
    const QStringList range = ranges.split(u' ');
    const Axes a{range[0].toDouble(), range[1].toDouble(), range[2].toDouble(), range[3].toDouble()};
    const DeviceProfile printer = DeviceProfile::printer(600, 600);
    const PassRun run = drawSlot(formatFor(a, curve, yLog), bytes, {}, printer);
    QCOMPARE(run.messages, QStringList());
    for (float &v : r.y)
        v = yLog ? float(std::log10(double(v))) : v;
    std::vector<DevicePoint> drawn;
    if (curve.startsWith(u'1')) {  // markers only
        for (const Primitive &c : run.surface->of(PrimitiveKind::Circle))
            drawn.push_back(c.device[0]);
    } else {
        const auto lines = run.surface->of(PrimitiveKind::Polyline);
        QCOMPARE(lines.size(), std::size_t(1));  // every point inside: one piece
        drawn = lines[0].device;
    }
    compareCurve(drawn, printer, widened(r.x), widened(r.y), a);
}

void TestRealData::chebyshevAtEveryDegree_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("xShift");  // added to x
    QTest::addColumn<double>("xSpan");   // x spread over this span from xShift (0: as read)
    QTest::newRow("temperature, 1912-1971") << u"nhtemp.dat"_s << 0.0 << 0.0;
    QTest::newRow("lake level, 1875-1972") << u"lakehuron.dat"_s << 0.0 << 0.0;
    QTest::newRow("temperature at x near 1e5") << u"nhtemp.dat"_s << 98088.0 << 0.0;
    QTest::newRow("temperature over a span of 1e-5") << u"nhtemp.dat"_s << 0.01 << 1e-5;
}

void TestRealData::chebyshevAtEveryDegree()
{
    // The curve on the page is the series of the resampled values at every degree asked for,
    // however far x lies from zero: to within the rounding of a 600-dpi device.
    QFETCH(QString, file);
    QFETCH(double, xShift);
    QFETCH(double, xSpan);
    Record r = readRecord(recordBytes(file));
    const std::size_t n = r.x.size();
    const float first = r.x.front();
    const float last = r.x.back();
    for (std::size_t i = 0; i < n; ++i)
        r.x[i] = xSpan > 0 ? float(xShift + xSpan * (r.x[i] - first) / (last - first)) : float(r.x[i] + xShift);
    const auto [low, high] = std::minmax_element(r.y.begin(), r.y.end());
    const Real spread = Real(*high) - *low;
    // Wide enough that no curve is cut by the frame.
    const Axes a{Real(r.x.front()), Real(r.x.back()), *low - 4 * spread, *high + 4 * spread};
    const DeviceProfile printer = DeviceProfile::printer(600, 600);
    for (int m = 1; m <= 20; ++m) {
        const PassRun run = drawSlot(formatFor(a, QStringLiteral("0, 0, 0, 0, %1, 0, 0, a").arg(-m)), recordFile(r), {}, printer);
        QCOMPARE(run.messages, QStringList());
        const std::vector<float> at = curveAbscissae(r.x, m);
        const std::vector<Real> y = chebyshevValues(r, m, at);
        for (const Real v : y)
            QVERIFY2(v > a.ymn && v < a.ymx, qPrintable(QStringLiteral("degree %1: %2").arg(m).arg(double(v))));
        const auto lines = run.surface->of(PrimitiveKind::Polyline);
        QVERIFY2(lines.size() == 1, qPrintable(QStringLiteral("degree %1: %2 pieces").arg(m).arg(lines.size())));
        compareCurve(lines[0].device, printer, widened(at), y, a, QStringLiteral("degree %1, ").arg(m));
        if (QTest::currentTestFailed())
            return;
    }
}

int runRealDataTests(int argc, char **argv)
{
    TestRealData t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_real_data.moc"
