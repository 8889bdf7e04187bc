// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/runtime_error.h"

#include <QApplication>
#include <QMessageBox>

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
    // The program's title, as the classic runtime puts it on its error messages.
    QMessageBox box(QMessageBox::Critical, u"Ссылки в Excel"_s, errorMessage(error),
                    QMessageBox::Ok);
    box.setObjectName(u"RuntimeErrorBox"_s);
    box.exec();
    endProgram(RuntimeErrorExitStatus);
}

void endProgram(int status)
{
    QCoreApplication::exit(status);
}

}  // namespace shell
