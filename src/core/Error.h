#pragma once
#include <QString>
#include <stdexcept>

namespace corvane {

// The one exception type of the program; its message reaches the standard error box.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

}
