#pragma once

#include <functional>

#include <QString>

// Asks the user a yes/no question; true for yes. Shell-like operations take one of these so that
// tests can answer in place of the user.
using UserQuestion = std::function<bool(const QString& caption, const QString& text)>;

// A Yes/No message box with the given caption and no icon.
bool AskYesNo(const QString& caption, const QString& text);
