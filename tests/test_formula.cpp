// SPDX-License-Identifier: GPL-3.0-or-later
#include "answer_key.h"

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

    for (const QStringView accepted : answer_key::AcceptedFormulas)
        QTest::addRow("%s", qPrintable(accepted.toString())) << accepted.toString() << true;

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

    // What children paste or type into the box.
    const QString right = answer_key::AcceptedFormulas[0].toString();
    QTest::newRow("a megabyte") << QString(1 << 20, u'B') << false;
    QTest::newRow("an answer repeated to a megabyte")
        << right.repeated((1 << 20) / right.size()) << false;
    QTest::newRow("an answer then a megabyte") << right + QString(1 << 20, u' ') << false;
    QTest::newRow("only NUL") << QString(1, QChar(u'\0')) << false;
    QTest::newRow("leading NUL") << QChar(u'\0') + right << false;
    QTest::newRow("NUL inside") << u"=$B$1*(B4\0-B3)"_s << false;
    QTest::newRow("control characters") << u"\u0001\u0008\u001B=$B$1*(B4-B3)\u007F"_s << false;
    QTest::newRow("line break after") << right + u"\n"_s << false;
    QTest::newRow("carriage return after") << right + u"\r"_s << false;
    QTest::newRow("tab inside") << u"=$B$1*\t(B4-B3)"_s << false;
    QTest::newRow("right-to-left mark before") << u"\u200F"_s + right << false;
    QTest::newRow("left-to-right mark after") << right + u"\u200E"_s << false;
    QTest::newRow("right-to-left override") << u"\u202E=(B4-B3)*$B$1\u202C"_s << false;
    QTest::newRow("byte order mark before") << u"\uFEFF"_s + right << false;
    QTest::newRow("combining acute on B") << u"=$B\u0301$1*(B4-B3)"_s << false;
    QTest::newRow("combining mark at the end") << right + u"\u0336"_s << false;
    QTest::newRow("soft hyphen inside") << u"=$B$1*(B4\u00AD-B3)"_s << false;
    QTest::newRow("word joiner inside") << u"=$B$1*(B4-\u2060B3)"_s << false;
    QTest::newRow("emoji after") << right + u"\U0001F600"_s << false;
    QTest::newRow("mathematical bold B") << u"=$\U0001D401$1*(B4-B3)"_s << false;
    QTest::newRow("full-width B") << u"=$\uFF22$1*(B4-B3)"_s << false;
    QTest::newRow("minus sign for hyphen") << u"=$B$1*(B4\u2212B3)"_s << false;
    QTest::newRow("multiplication sign for asterisk") << u"=$B$1\u00D7(B4-B3)"_s << false;
    QTest::newRow("lone high surrogate after") << right + QChar(char16_t(0xD800)) << false;
    QTest::newRow("lone low surrogate before") << QChar(char16_t(0xDC00)) + right << false;
    QTest::newRow("surrogates in the wrong order")
        << right + QChar(char16_t(0xDE00)) + QChar(char16_t(0xD83D)) << false;
    QTest::newRow("noncharacter") << right + QChar(char16_t(0xFFFF)) << false;
}

void TestFormula::judgesExactly()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(screens::isAcceptedFormula(typed), accepted);
}

QTEST_APPLESS_MAIN(TestFormula)
#include "test_formula.moc"
