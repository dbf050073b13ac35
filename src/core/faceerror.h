#pragma once

#include <QString>

#include <stdexcept>

// A step of the program that could not be carried out (a face picture that is missing, a
// drawing that failed). The handler that runs into it stops there; the window reports the
// message to the user and the program carries on.
class FaceError : public std::runtime_error
{
public:
    explicit FaceError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};
