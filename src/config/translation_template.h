#pragma once

class ConfigHost;
class QObject;

// The command "Write Translation File": writes Translation/English.txt of the user's folder from
// the main form, the first tab window (may be null) and a throw-away settings dialog that leaves
// an open dialog and the host's state alone. Raises Error("Unable to write to <path>").
void WriteTranslationTemplateFile(ConfigHost& host, const QObject* mainForm, const QObject* firstTabWindow);
