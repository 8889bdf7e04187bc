#include "gallery.h"

#include "quiz_harness.h"

#include "screens/intro/form1.h"
#include "screens/intro/form6.h"
#include "screens/questions/form2.h"
#include "screens/questions/form3.h"
#include "screens/questions/form4.h"
#include "screens/questions/form7.h"
#include "screens/questions/form8.h"
#include "screens/results/form5.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace gallery {

namespace {

QImage grabScreen(QWidget &form)
{
    QApplication::processEvents();
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QList<Shot> takeSampleRun()
{
    // Question 1 shows its rotated placement; the sample answers 1, 3 and 4 right.
    harness::ScriptedDraws draws{harness::drawFor(2), harness::drawFor(3), harness::drawFor(1),
                                 harness::drawFor(2)};
    shell::ScopedRandomSource scoped(draws);
    QList<Shot> shots;

    auto &title = shell::Form1();
    title.showScreen();
    shots.append({u"form1"_s, grabScreen(title)});
    title.Timer1_Timer();

    shots.append({u"form6"_s, grabScreen(shell::Form6())});
    shell::Form6().Command1->click();

    shots.append({u"form2"_s, grabScreen(shell::Form2())});
    shell::Form2().Option1[1]->click();
    shell::Form2().Command1->click();

    shots.append({u"form7"_s, grabScreen(shell::Form7())});
    shell::Form7().Option1[0]->click();
    shell::Form7().Command1->click();

    shots.append({u"form3"_s, grabScreen(shell::Form3())});
    shell::Form3().Command2->click();

    shots.append({u"form8"_s, grabScreen(shell::Form8())});
    shell::Form8().Option1[1]->click();
    shell::Form8().Command1->click();

    auto &formula = shell::Form4();
    formula.Text1->setText(u"=$B$1*(B4-B3)"_s);
    shots.append({u"form4"_s, grabScreen(formula)});
    formula.Command3->click();

    shots.append({u"form5"_s, grabScreen(shell::Form5())});
    shell::endRun();

    std::ranges::sort(shots, {}, &Shot::name);
    return shots;
}

}  // namespace gallery
