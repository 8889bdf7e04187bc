// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quiz.h"
#include "controls/look.h"

#include <QApplication>

#ifdef Q_OS_WASM
#include "screens/results/grade.h"
#include "shell/web_page.h"
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_WASM
    // The page's twin of the text box takes the typing: Qt's own input for touch devices, which
    // guesses the device from the browser's name and fails on some, stays out.
    qputenv("QT_IM_MODULE", "none");
#endif
    QApplication application(argc, argv);
    design::prepareLook(application);
#ifdef Q_OS_WASM
    const shell::WebPage page(application);
#endif

    app::Quiz quiz;
#ifdef Q_OS_WASM
    QObject::connect(
        &quiz, &app::Quiz::questionAnswered, &page,
        [](std::size_t question, screens::Verdict verdict, const screens::Response &response) {
            shell::WebPage::recordAnswer(static_cast<int>(question) + 1,
                                         response.kind == screens::Response::Kind::Typed,
                                         response.text, verdict.right, verdict.points);
        });
    QObject::connect(
        &quiz, &app::Quiz::resultsShown, &page, [](std::uint8_t total, std::int16_t grade) {
            shell::WebPage::recordResult(total, app::mostPoints(), grade != screens::FailingGrade);
        });
#endif
    quiz.start();
    design::finishLook();
    return QApplication::exec();
}
