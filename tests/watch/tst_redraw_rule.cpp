// What a redraw nobody asked for does to the page shown: replaced, or kept while the files
// say something new.

#include "watch/redraw_rule.h"

#include <QtTest>

using namespace nikra;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(nikra::RedrawVerdict)

class TestRedrawRule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verdict_data();
    void verdict();
};

void TestRedrawRule::verdict_data()
{
    const QString a = u" 1st Format Data Error: a"_s;
    const QString b = u" 1st Graph Data Error: b"_s;
    QTest::addColumn<bool>("pageShown");
    QTest::addColumn<QStringList>("shownMessages");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<RedrawVerdict>("verdict");

    using V = RedrawVerdict;
    // The first page is shown whatever it says; without one there is nothing to keep.
    QTest::newRow("first, clean") << false << QStringList{} << true << QStringList{} << V::Replace;
    QTest::newRow("first, problems") << false << QStringList{} << true << QStringList{a} << V::ReplaceWithProblems;
    QTest::newRow("first, not drawn") << false << QStringList{} << false << QStringList{} << V::NothingToShow;
    // A clean page gives way only to a clean one.
    QTest::newRow("clean, clean") << true << QStringList{} << true << QStringList{} << V::Replace;
    QTest::newRow("clean, problem") << true << QStringList{} << true << QStringList{a} << V::KeepNewProblems;
    QTest::newRow("clean, not drawn") << true << QStringList{} << false << QStringList{} << V::KeepNotDrawn;
    // A page with problems gives way to one with the same or fewer, in any order.
    QTest::newRow("problems, same") << true << QStringList{a, b} << true << QStringList{b, a} << V::ReplaceWithProblems;
    QTest::newRow("problems, fewer") << true << QStringList{a, b} << true << QStringList{a} << V::ReplaceWithProblems;
    QTest::newRow("problems, mended") << true << QStringList{a} << true << QStringList{} << V::Replace;
    QTest::newRow("problems, one more") << true << QStringList{a} << true << QStringList{a, b} << V::KeepNewProblems;
    QTest::newRow("problems, another") << true << QStringList{a} << true << QStringList{b} << V::KeepNewProblems;
}

void TestRedrawRule::verdict()
{
    QFETCH(bool, pageShown);
    QFETCH(QStringList, shownMessages);
    QFETCH(bool, drawn);
    QFETCH(QStringList, messages);
    QFETCH(RedrawVerdict, verdict);

    RedrawRule rule;
    if (pageShown)
        rule.pageShown(shownMessages);
    QCOMPARE(rule.judge(messages, drawn), verdict);
    // Forgetting the page shown makes the next page a first page again.
    rule.forget();
    QCOMPARE(RedrawRule::replaces(rule.judge(messages, drawn)), drawn);
}

QTEST_GUILESS_MAIN(TestRedrawRule)

#include "tst_redraw_rule.moc"
