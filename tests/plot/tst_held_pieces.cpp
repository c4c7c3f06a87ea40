// The pieces of a line block held until the block is whole: whatever way they were held
// (in memory, in the temporary file, or partly in a file that filled up), they are drawn as
// the same polylines in the same order.

#include "plot/curves/held_pieces.h"
#include "support/recording_surface.h"
#include "support/small_disk.h"

#include <QtTest>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

class TestHeldPieces : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawnInOrderWhereverHeld_data();
    void drawnInOrderWhereverHeld();
};

void TestHeldPieces::drawnInOrderWhereverHeld_data()
{
    QTest::addColumn<int>("memoryValues");
    QTest::addColumn<int>("diskRoom");  // bytes left on a small disk for the file; -1: no such disk
    QTest::addColumn<bool>("spilled");
    QTest::newRow("memory") << int(HeldPieces::kMemoryValues) << -1 << false;
    QTest::newRow("temporary file") << 40 << -1 << true;
    QTest::newRow("disk full") << 40 << 0 << false;
    QTest::newRow("file fills up") << 40 << 8192 << true;
}

void TestHeldPieces::drawnInOrderWhereverHeld()
{
    QFETCH(int, memoryValues);
    QFETCH(int, diskRoom);
    QFETCH(bool, spilled);

    TestDir dir;
    std::unique_ptr<SmallDisk> disk;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    if (diskRoom >= 0) {
        disk = std::make_unique<SmallDisk>(dir.path(u"disk"_s));
        if (disk->root.isEmpty())
            QSKIP("no small file system here (only the superuser may mount one)");
        QVERIFY(disk->fillLeaving(diskRoom));  // 8 KiB: room for some of the pieces, not all
        qputenv("TMPDIR", disk->root.toLocal8Bit());
    }
    auto restore = qScopeGuard([&] { qputenv("TMPDIR", oldTmp); });

    RecordingSurface surface(unitProfile());
    const Pen pen{LineStyle::Solid, 1, Qt::black};
    std::vector<std::vector<PagePoint>> expected;
    HeldPieces held{std::size_t(memoryValues)};
    for (int k = 0; k < 300; ++k) {
        std::vector<PagePoint> piece;
        for (int i = 0; i < 2 + k % 4; ++i)
            piece.push_back({k + 0.25 * i, 1.0 / (i + 1)});
        if (k % 97 == 50) {  // now and then a long piece, handed over in parts
            auto parts = surface.polylineInParts(pen);
            parts->add(std::span(piece).first(1));
            parts->add(std::span(piece).subspan(1));
            held.addLong(std::move(parts));
        } else {
            held.addShort(piece);
        }
        expected.push_back(piece);
    }
    QCOMPARE(held.spilled(), spilled);
    QVERIFY(surface.primitives.empty());  // nothing drawn before the block is whole
    held.drawAll(surface, pen);

    QCOMPARE(surface.primitives.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        QVERIFY2(surface.primitives[k].mm == expected[k], qPrintable(QString::number(k)));
}

int runHeldPiecesTests(int argc, char **argv)
{
    TestHeldPieces tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_held_pieces.moc"
