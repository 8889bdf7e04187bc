// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/runtime_error.h"

#include "shell/screen.h"

#include <QApplication>
#include <QMessageBox>

#ifdef Q_OS_WASM
#include "shell/web_page.h"
#endif

using namespace Qt::StringLiterals;

namespace shell {

QString RuntimeError::description() const
{
    switch (m_number) {
    case ErrorNumber::Overflow:
        return u"Переполнение"_s;
    case ErrorNumber::OutOfMemory:
        return u"Недостаточно памяти"_s;
    case ErrorNumber::Internal:
        break;
    }
    return u"Внутренняя ошибка"_s;
}

std::uint8_t checkedByte(double value)
{
    if (!(value >= 0 && value <= 255))
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::uint8_t>(value);
}

QString errorMessage(const RuntimeError &error)
{
    return u"Ошибка выполнения '%1':\n\n%2"_s.arg(static_cast<int>(error.number()))
        .arg(error.description());
}

void reportRuntimeError(const RuntimeError &error)
{
    // Shown without a nested event loop, which a browser cannot run: the handler that raised
    // the error is already over, the box blocks every screen, and closing it ends the program.
    // It belongs to the screen on show, if any, and goes when it is closed.
    // The program's title, as the classic runtime puts it on its error messages.
    auto *box = new QMessageBox(QMessageBox::Critical, u"Ссылки в Excel"_s, errorMessage(error),
                                QMessageBox::Ok, windowOnShow());
    box->setObjectName(u"RuntimeErrorBox"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, [] { endProgram(RuntimeErrorExitStatus); });
    box->show();
}

void endProgram(int status)
{
#ifdef Q_OS_WASM
    WebPage::end(status);
#else
    QCoreApplication::exit(status);
#endif
}

}  // namespace shell
