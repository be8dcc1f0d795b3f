#pragma once

// The application's standard error report. Every command handler runs inside
// runCommand: a failure thrown by the command (CommandError, or any
// std::exception) ends the command and is shown in one message box captioned
// with the application title; the program carries on. No exception crosses
// Qt's event loop.

#include "settings/expected.h"

#include <QString>

#include <functional>
#include <stdexcept>

namespace mekuri {

class CommandError : public std::runtime_error {
public:
    explicit CommandError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Throws CommandError when status failed; for use inside commands.
void throwIfFailed(const Status& status);

// Runs command; reports a failure through dialogs().error(). Returns whether
// the command finished without failure.
bool runCommand(const std::function<void()>& command);

}  // namespace mekuri
