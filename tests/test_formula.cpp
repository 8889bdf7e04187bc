#include "screens/questions/formula_judge.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestFormula : public QObject {
    Q_OBJECT

private slots:
    void judgesExactly_data();
    void judgesExactly();
};

void TestFormula::judgesExactly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("price first") << u"=$B$1*(B4-B3)"_s << true;
    QTest::newRow("price first, columns fixed") << u"=$B$1*($B4-$B3)"_s << true;
    QTest::newRow("price last") << u"=(B4-B3)*$B$1"_s << true;
    QTest::newRow("price last, columns fixed") << u"=($B4-$B3)*$B$1"_s << true;

    QTest::newRow("lower case") << u"=(b4-b3)*$b$1"_s << false;
    QTest::newRow("blank before") << u" =$B$1*(B4-B3)"_s << false;
    QTest::newRow("blank inside") << u"=$B$1 * (B4-B3)"_s << false;
    QTest::newRow("blank after") << u"=$B$1*(B4-B3) "_s << false;
    QTest::newRow("no equals sign") << u"$B$1*(B4-B3)"_s << false;
    QTest::newRow("price row only fixed") << u"=B$1*(B4-B3)"_s << false;
    QTest::newRow("price as a number") << u"=1,50*(B4-B3)"_s << false;
    QTest::newRow("multiplied out") << u"=$B$1*B4-$B$1*B3"_s << false;
    QTest::newRow("dollar on B4 only") << u"=$B$1*($B4-B3)"_s << false;
    QTest::newRow("dollar on B3 only") << u"=($B4-B3)*$B$1"_s << false;
    QTest::newRow("Cyrillic Ve") << u"=$В$1*(B4-B3)"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("a prefix of an answer") << u"=$B$1*(B4-B3"_s << false;
    QTest::newRow("an answer twice") << u"=$B$1*(B4-B3)=$B$1*(B4-B3)"_s << false;
    QTest::newRow("zero-width space inside") << u"=$B$1*(B4\u200B-B3)"_s << false;
    QTest::newRow("trailing NUL") << (u"=$B$1*(B4-B3)"_s + QChar(u'\0')) << false;
    QTest::newRow("full-width equals") << u"＝$B$1*(B4-B3)"_s << false;
    QTest::newRow("very long") << QString(100000, u'B') << false;
}

void TestFormula::judgesExactly()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(screens::isAcceptedFormula(typed), accepted);
}

QTEST_APPLESS_MAIN(TestFormula)
#include "test_formula.moc"
