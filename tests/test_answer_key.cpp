// SPDX-License-Identifier: GPL-3.0-or-later
// What a student finds by searching the built program: neither an accepted formula of
// question 5 nor which answer of a single-choice question is the right one.
#include "answer_key.h"

#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

namespace {

using answer_key::AcceptedFormulas;

[[nodiscard]] QByteArray encoded(QStringView text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding).encode(text);
}

[[nodiscard]] qsizetype occurrences(const QByteArray &haystack, const QByteArray &needle)
{
    qsizetype count = 0;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1))
        ++count;
    return count;
}

}  // namespace

class TestAnswerKey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void noAcceptedFormulaInAnyEncoding_data();
    void noAcceptedFormulaInAnyEncoding();
    void stringsShowsNoAcceptedFormula_data();
    void stringsShowsNoAcceptedFormula();
    void singleChoiceTextsAreStoredInAnOrderThatDoesNotTell_data();
    void singleChoiceTextsAreStoredInAnOrderThatDoesNotTell();

private:
    QByteArray m_program;
};

void TestAnswerKey::initTestCase()
{
    QFile program(QStringLiteral(REFS_QUIZ_EXECUTABLE));
    QVERIFY2(program.open(QIODevice::ReadOnly), qPrintable(program.errorString()));
    m_program = program.readAll();
    QVERIFY(m_program.size() > 100000);
}

void TestAnswerKey::noAcceptedFormulaInAnyEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");

    constexpr std::array<std::pair<const char *, QStringConverter::Encoding>, 5> Encodings{{
        {"UTF-8", QStringConverter::Utf8},
        {"UTF-16LE", QStringConverter::Utf16LE},
        {"UTF-16BE", QStringConverter::Utf16BE},
        {"UTF-32LE", QStringConverter::Utf32LE},
        {"UTF-32BE", QStringConverter::Utf32BE},
    }};
    for (const QStringView formula : AcceptedFormulas) {
        for (const auto &[name, encoding] : Encodings) {
            QTest::addRow("%s %s", qPrintable(formula.toString()), name)
                << formula.toString() << int(encoding);
            // Kept without its equals sign and put together at run time, it would show as well.
            QTest::addRow("%s %s", qPrintable(formula.sliced(1).toString()), name)
                << formula.sliced(1).toString() << int(encoding);
        }
    }
}

void TestAnswerKey::noAcceptedFormulaInAnyEncoding()
{
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QCOMPARE(occurrences(m_program, encoded(text, QStringConverter::Encoding(encoding))), 0);
}

void TestAnswerKey::stringsShowsNoAcceptedFormula_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::newRow("7-bit") << u"s"_s;
    QTest::newRow("8-bit") << u"S"_s;
    QTest::newRow("16-bit little-endian") << u"l"_s;
    QTest::newRow("16-bit big-endian") << u"b"_s;
    QTest::newRow("32-bit little-endian") << u"L"_s;
}

void TestAnswerKey::stringsShowsNoAcceptedFormula()
{
    QFETCH(QString, encoding);
    QProcess strings;
    strings.start(u"strings"_s, {u"-a"_s, u"-e"_s, encoding, QStringLiteral(REFS_QUIZ_EXECUTABLE)});
    QVERIFY2(strings.waitForFinished(60000), "strings (binutils) did not run");
    QCOMPARE(strings.exitCode(), 0);
    const QString shown = QString::fromLatin1(strings.readAllStandardOutput());

    for (const QStringView formula : AcceptedFormulas)
        QVERIFY2(!shown.contains(formula.sliced(1)), qPrintable(formula.toString()));
    // The other answers are stored as the program shows them: this is where a formula
    // kept as text would show.
    if (encoding == u"l"_s)
        QVERIFY(shown.contains(answer_key::singleChoiceOn(app::ScreenId::Form3)->answers[0]));
}

void TestAnswerKey::singleChoiceTextsAreStoredInAnOrderThatDoesNotTell_data()
{
    QTest::addColumn<QStringList>("answers");
    for (std::size_t question = 0; question < answer_key::SingleChoiceQuestions.size();
         ++question) {
        QStringList answers;
        for (const QStringView answer : answer_key::SingleChoiceQuestions.at(question).answers)
            answers.append(answer.toString());
        QTest::addRow("question %zu", question + 1) << answers;
    }
}

void TestAnswerKey::singleChoiceTextsAreStoredInAnOrderThatDoesNotTell()
{
    QFETCH(QStringList, answers);

    // Each text is stored once, and the three stand together in alphabetical order: where
    // the right one stands follows from the texts alone.
    for (const QString &answer : answers)
        QCOMPARE(occurrences(m_program, encoded(answer, QStringConverter::Utf16LE)), 1);
    QStringList sorted = answers;
    sorted.sort(Qt::CaseSensitive);
    const qsizetype together =
        m_program.indexOf(encoded(sorted.join(u'\n'), QStringConverter::Utf16LE));
    QVERIFY2(together >= 0, qPrintable(sorted.join(u" | "_s)));
}

QTEST_GUILESS_MAIN(TestAnswerKey)
#include "test_answer_key.moc"
